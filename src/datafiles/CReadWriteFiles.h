#pragma once
// Moves one record of a ".svx" data file between the document and the file: the writer
// appends the current cycle to the recording's data file, the reader loads the record at the
// playback file's position into the same document members a real-time cycle fills. All state
// (files, positions, values) is the document's; this class holds only the way to it.
//
// Used on the user-interface thread only.

#include <cstddef>
#include <cstdint>

class CVantrelDoc;

// What a read found at the playback position.
enum class RecordRead {
    Record,     // a record was read into the document
    Damaged,    // no record starts here (wrong magic, or a length its header cannot have)
    Truncated,  // the file ends inside this record: nothing was taken from it and the
                // position is the end of the file
};

class CReadWriteFiles {
public:
    explicit CReadWriteFiles(CVantrelDoc& document) : doc(document) {}
    virtual ~CReadWriteFiles() = default;
    CReadWriteFiles(const CReadWriteFiles&) = delete;
    CReadWriteFiles& operator=(const CReadWriteFiles&) = delete;

    // Length of the record the current document state makes.
    std::int32_t NextRecordLength() const;
    // Assembles the record of the current document state in out (at least kMaxRecordLength
    // bytes) and returns its length. Sets recordLength, gpsBlockOffset and systemInfoOffset,
    // and consumes a pending event mark.
    std::int32_t BuildRecord(std::uint8_t* out);
    // Appends the record to the recording's data file in one write (a closed file skips it).
    // False when the file could not take all of it: the file is then cut back to where the
    // record began, so it always ends with a whole record.
    bool WriteRecord();
    // The head block of one HeadChannel at out.
    void WriteHeadBlock(int head, std::uint8_t* out) const;

    // Reads the record at the playback file's current position (the caller seeks it to
    // playbackPosition). A damaged record resynchronises the position.
    RecordRead ReadRecord();
    // A readable record header lies at this offset of the playback file (the file position
    // moves).
    bool RecordStartsAt(std::uint64_t offset);
    // Takes one head block (whole) into the head's members.
    void ReadHeadBlock(int head, const std::uint8_t* block);
    // The document's clock from the date and time texts just read.
    void ParseRecordTime();

private:
    int CommandBytes() const;
    int ReplyHeaderBytes() const;
    int HeadBlockBytes() const;
    void ReadHeader(const std::uint8_t* header);
    void ApplyDisplayRules();

    CVantrelDoc& doc;
};
