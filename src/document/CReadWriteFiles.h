#pragma once
// Moves one record of a ".svx" data file between the document and the file: the writer
// appends the current cycle to the recording's data file, the reader loads the record at the
// playback file's position into the same document members a real-time cycle fills. The bytes
// are encoded and decoded by the record codec (RecordCodec.h); all state (files, positions,
// values) is the document's, this class holds only the way to it.
//
// Used on the user-interface thread only.

#include <cstddef>
#include <cstdint>

#include "datafiles/RecordCodec.h"

class CVantrelDoc;

// What a read found at the playback position.
enum class RecordRead {
    Record,     // a record was read into the document
    Damaged,    // no readable record starts here (files.lastDamage says why); nothing was
                // taken from it and the position is where it was
    Truncated,  // the file ends inside this record: nothing was taken from it and the
                // position is the end of the file
};

class CReadWriteFiles {
public:
    explicit CReadWriteFiles(CVantrelDoc& document) : doc(document) {}
    virtual ~CReadWriteFiles() = default;
    CReadWriteFiles(const CReadWriteFiles&) = delete;
    CReadWriteFiles& operator=(const CReadWriteFiles&) = delete;

    // The head-block geometry of the document's switch commands and reply headers.
    svx::RecordGeometry Geometry() const;
    // Length of the record the current document state makes.
    std::int32_t NextRecordLength() const;
    // Assembles the record of the current document state in out (at least kMaxRecordLength
    // bytes) and returns its length. Sets recordLength, gpsBlockOffset and systemInfoOffset,
    // and consumes a pending event mark.
    std::int32_t BuildRecord(std::uint8_t* out);
    // Appends the record to the recording's data file in one write (a closed file skips it)
    // and to the recording's index. False when the file could not take all of it: the file
    // is then cut back to where the record began, so it always ends with a whole record.
    bool WriteRecord();

    // Reads the record at the playback file's current position (the caller seeks it to
    // playbackPosition).
    RecordRead ReadRecord();
    // The document's clock from the date and time texts just read.
    void ParseRecordTime();

private:
    // withSentences: the GPS block holds the latest sentences; otherwise it is left empty.
    svx::CycleSource CurrentCycle(bool withSentences) const;
    void TakeRecord(const svx::RecordView& record);
    void ReadHeader(const svx::RecordView& record);
    void ReadHeadBlock(int head, const svx::RecordView& record);
    void ApplyDisplayRules();

    CVantrelDoc& doc;
};
