#pragma once
// The records of a data file in order: offset, length and ping number of each, and where the
// file is damaged. The recorder keeps one for the file it writes; the playback builds one for
// the file it plays when it is asked for. Events (a record found by its ping number) and the
// exports read records through it.

#include <cstdint>
#include <functional>
#include <vector>

#include "datafiles/RecordCodec.h"

namespace svx {

struct IndexedRecord {
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
    std::uint32_t ping = 0;
};

// Bytes stepped over: no readable record starts in them.
struct DamagedStretch {
    std::uint64_t offset = 0;
    std::uint64_t bytes = 0;
    RecordDamage damage = RecordDamage::NoMagic;  // what was found at the offset
};

class RecordIndex {
public:
    void Clear();
    // Appends the next record of the file.
    void Add(const IndexedRecord& record);
    // Notes damage; a stretch that begins where the last one ended lengthens it.
    void AddDamage(const DamagedStretch& stretch);

    const std::vector<IndexedRecord>& Records() const { return records; }
    const std::vector<DamagedStretch>& Damage() const { return damage; }
    bool Damaged() const { return !damage.empty(); }
    std::uint64_t DamagedBytes() const;

    // The record with this ping number (the first one when numbers repeat), or none.
    const IndexedRecord* FindPing(std::uint32_t ping) const;
    // The record that holds this byte of the file, or none.
    const IndexedRecord* FindOffset(std::uint64_t offset) const;

private:
    std::vector<IndexedRecord> records;
    std::vector<DamagedStretch> damage;
    // Ping numbers rise from record to record (they do in every recording): found by halving.
    bool pingsRise = true;
};

// What a walk does with a whole record: true goes on, false stops the walk there (a cancelled
// or failed export reads no further).
using RecordVisitor = std::function<bool(std::uint64_t offset, const RecordView&)>;

// Walks the source from its start: every whole record is handed to onRecord in file order,
// until it returns false; damage is stepped over to the next record start and handed to
// onDamage (may be empty).
void WalkRecords(ByteSource& source, const RecordGeometry& geometry, const RecordVisitor& onRecord,
                 const std::function<void(const DamagedStretch&)>& onDamage);

// The index of a whole source.
RecordIndex IndexRecords(ByteSource& source, const RecordGeometry& geometry = {});

}  // namespace svx
