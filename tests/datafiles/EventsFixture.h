#pragma once
// Files for the event tests: records of three heads (8432 bytes each) or of changing lengths,
// played into a composite image, and look-ups of the composite rows and the record bytes.

#include "DataFilesFixture.h"
#include "datafiles/RecordIndex.h"

class EventsFixture : public DataFilesFixture {
protected:
    // Records of three heads and no system information, pings first.. .
    std::vector<std::uint8_t> ThreeHeadRecords(int count, int first = 1) {
        return ThreeHeadBytes(count, first);
    }

    // Records whose length changes: every third one carries the system information.
    std::vector<std::uint8_t> VaryingRecords(int count, int first = 1) {
        MakeFourHeadState(true);
        DocumentBuilder(doc).Installed({1, 1, 1, 0});
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < count; ++i) {
            DocumentBuilder(doc).SystemInfoReceived(i % 3 == 0);
            const auto record = MakeFile(1, first + i);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        DocumentBuilder(doc).SystemInfoReceived(true);
        return bytes;
    }

    // Plays the file into a composite image of the given width, `records` records.
    void PlayIntoComposite(const std::string& path, int records, int width = 1000) {
        DocumentBuilder(doc).CompositeMode(true);
        std::int32_t changed = 1;
        doc.SizeCompositeImage(kZoomFillScreen, width, changed);
        StartPlayback(path);
        for (int i = 0; i < records; ++i) platform.FireTimer(1030);
    }

    // The top composite row stamped with the ping, or -1.
    int RowOf(int ping) const {
        const RingImage& image = doc.images.CompositeImage();
        for (int r = 0; r < image.Rows(); ++r) {
            if (doc.images.RowStamp(kCompositeSlot, r).pingNumber == ping) return r;
        }
        return -1;
    }

    // The two event-mark bytes of the record of `ping` in the file, as a number.
    static int MarkOf(const std::vector<std::uint8_t>& file, int ping) {
        svx::MemoryBytes bytes(file.data(), file.size());
        const svx::RecordIndex index = svx::IndexRecords(bytes);
        const svx::IndexedRecord* record = index.FindPing(static_cast<std::uint32_t>(ping));
        if (!record) return -1;
        return GetLe16(file.data() + record->offset + svx::kEventMark);
    }

    // Accepts a new event at the composite row of `ping`, column x.
    void AddEventAt(int ping, int x, const std::string& note) {
        const int row = RowOf(ping);
        ASSERT_GE(row, 0) << "ping " << ping << " is not in the image";
        ASSERT_TRUE(doc.BeginNewEvent(row, x));
        doc.AcceptEvent(note);
    }

    std::string EventText() { return TempDir::ReadText(dir.File("survey.an")); }
};
