#include "datafiles/RecordIndex.h"

#include <algorithm>

namespace svx {

void RecordIndex::Clear() {
    records.clear();
    damage.clear();
    pingsRise = true;
}

void RecordIndex::Add(const IndexedRecord& record) {
    if (!records.empty() && record.ping <= records.back().ping) pingsRise = false;
    records.push_back(record);
}

void RecordIndex::AddDamage(const DamagedStretch& stretch) {
    if (!damage.empty() && damage.back().offset + damage.back().bytes == stretch.offset) {
        damage.back().bytes += stretch.bytes;
        return;
    }
    damage.push_back(stretch);
}

std::uint64_t RecordIndex::DamagedBytes() const {
    std::uint64_t bytes = 0;
    for (const DamagedStretch& stretch : damage) bytes += stretch.bytes;
    return bytes;
}

const IndexedRecord* RecordIndex::FindPing(std::uint32_t ping) const {
    if (pingsRise) {
        const auto it = std::lower_bound(
            records.begin(), records.end(), ping,
            [](const IndexedRecord& record, std::uint32_t value) { return record.ping < value; });
        return it != records.end() && it->ping == ping ? &*it : nullptr;
    }
    const auto it =
        std::find_if(records.begin(), records.end(),
                     [ping](const IndexedRecord& record) { return record.ping == ping; });
    return it != records.end() ? &*it : nullptr;
}

const IndexedRecord* RecordIndex::FindOffset(std::uint64_t offset) const {
    const auto it = std::upper_bound(
        records.begin(), records.end(), offset,
        [](std::uint64_t value, const IndexedRecord& record) { return value < record.offset; });
    if (it == records.begin()) return nullptr;
    const IndexedRecord& record = *(it - 1);
    return offset < record.offset + record.length ? &record : nullptr;
}

namespace {

// A window of the source that holds whole records, read in large blocks.
class Window {
public:
    explicit Window(ByteSource& source) : source(source), bytes(kSize) {}
    // The bytes from offset on (as many as the window holds of them, up to kMaxRecordLength
    // when the source has them); count is set to how many.
    const std::uint8_t* At(std::uint64_t offset, std::size_t& count) {
        const std::uint64_t end = source.Size();
        const std::size_t need =
            static_cast<std::size_t>(std::min<std::uint64_t>(kMaxRecordLength, end - offset));
        if (offset < start || offset + need > start + filled) {
            start = offset;
            filled = source.ReadAt(offset, bytes.data(), bytes.size());
        }
        count = static_cast<std::size_t>(start + filled - offset);
        return bytes.data() + (offset - start);
    }

private:
    static constexpr std::size_t kSize = 1 << 20;
    ByteSource& source;
    std::vector<std::uint8_t> bytes;
    std::uint64_t start = 0;
    std::size_t filled = 0;
};

}  // namespace

void WalkRecords(ByteSource& source, const RecordGeometry& geometry, const RecordVisitor& onRecord,
                 const std::function<void(const DamagedStretch&)>& onDamage) {
    Window window(source);
    const std::uint64_t end = source.Size();
    std::uint64_t at = 0;
    while (at < end) {
        std::size_t count = 0;
        const std::uint8_t* bytes = window.At(at, count);
        const DecodedRecord decoded = DecodeRecord(bytes, count, geometry);
        if (decoded.Ok()) {
            if (!onRecord(at, RecordView(bytes, decoded.layout, geometry))) return;
            at += decoded.layout.length;
            continue;
        }
        const std::uint64_t next = FindRecordStart(source, at + 1, geometry).value_or(end);
        if (onDamage) onDamage(DamagedStretch{at, next - at, decoded.damage});
        at = next;
    }
}

RecordIndex IndexRecords(ByteSource& source, const RecordGeometry& geometry) {
    RecordIndex index;
    WalkRecords(
        source, geometry,
        [&index](std::uint64_t offset, const RecordView& record) {
            index.Add({offset, record.Layout().length, record.PingNumber()});
            return true;
        },
        [&index](const DamagedStretch& stretch) { index.AddDamage(stretch); });
    return index;
}

}  // namespace svx
