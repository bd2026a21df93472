#include "imaging/PaletteFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "common/ByteOrder.h"
#include "common/RegularFile.h"

namespace {

constexpr int kCountOffsets[kCurveCount] = {10, 12, 14};

int BlockOffset(int curve) {
    return kPaletteFilePointsOffset + curve * kPaletteFilePointBlockSize;
}

}  // namespace

PaletteFileBytes EncodePaletteFile(const PaletteFileContents& contents) {
    PaletteFileBytes bytes{};
    bytes[0] = 'R';
    bytes[1] = 'G';
    bytes[2] = 'B';
    for (int c = 0; c < kCurveCount; ++c) {
        bytes[kCountOffsets[c]] = static_cast<std::uint8_t>(
            std::clamp<std::int32_t>(contents.counts[c], 0, kMaxCurvePoints));
    }
    std::copy(contents.palette.begin(), contents.palette.end(),
              bytes.begin() + kPaletteFilePaletteOffset);
    for (int c = 0; c < kCurveCount; ++c) {
        std::uint8_t* block = bytes.data() + BlockOffset(c);
        for (int i = 0; i < kMaxCurvePoints; ++i) {
            PutLe16(block + 4 * i, static_cast<std::uint16_t>(contents.points[c][i].x));
            PutLe16(block + 4 * i + 2, static_cast<std::uint16_t>(contents.points[c][i].y));
        }
    }
    return bytes;
}

std::optional<PaletteFileContents> DecodePaletteFile(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < static_cast<std::size_t>(kPaletteFileSize)) return std::nullopt;
    PaletteFileContents contents;
    std::copy_n(data + kPaletteFilePaletteOffset, kPaletteBytes, contents.palette.begin());
    for (int c = 0; c < kCurveCount; ++c) {
        contents.counts[c] = data[kCountOffsets[c]];
        const std::uint8_t* block = data + BlockOffset(c);
        for (int i = 0; i < kMaxCurvePoints; ++i) {
            contents.points[c][i] = {static_cast<std::int16_t>(GetLe16(block + 4 * i)),
                                     static_cast<std::int16_t>(GetLe16(block + 4 * i + 2))};
        }
        if (contents.counts[c] > kMaxCurvePoints ||
            !IsValidCurve(contents.points[c].data(), contents.counts[c])) {
            return std::nullopt;
        }
    }
    return contents;
}

std::optional<PaletteFileContents> ReadPaletteFile(const std::string& path) {
    std::string bytes, why;
    if (path.empty() || !ReadRegularFile(path, bytes, why, kPaletteFileSize)) return std::nullopt;
    return DecodePaletteFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

bool WritePaletteFile(const std::string& path, const PaletteFileContents& contents) {
    if (path.empty()) return false;
    std::string why;
    const int fd = OpenRegularFile(path, O_WRONLY | O_CREAT | O_TRUNC, why);
    if (fd < 0) return false;
    const PaletteFileBytes bytes = EncodePaletteFile(contents);
    const bool written = WriteAll(fd, bytes.data(), bytes.size());
    return (::close(fd) == 0) && written;
}
