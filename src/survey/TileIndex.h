#pragma once
// The tile of a coverage cell: cells are kept on square tiles of Coverage::kTileCells, and a
// cell west or south of the origin lies on a tile of negative index (a floor, not a
// truncating division).

#include <cstdint>

namespace survey {

inline std::int64_t TileOf(std::int64_t cell, std::int64_t tileCells) {
    return cell >= 0 ? cell / tileCells : -((-cell + tileCells - 1) / tileCells);
}

}  // namespace survey
