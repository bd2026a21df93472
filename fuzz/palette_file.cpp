// Arbitrary palette files: decoded on their own, loaded through the document into an open
// editor, and the rest of the bytes drive the editor's mouse. A file that is taken must encode
// back to the same contents, and the curves must keep their rules whatever happens.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "document/CVantrelDoc.h"
#include "imaging/PaletteFile.h"
#include "support/NullPlatform.h"
#include "support/ValidPalette.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool SameContents(const PaletteFileContents& a, const PaletteFileContents& b) {
    if (a.palette != b.palette) return false;
    for (int c = 0; c < kCurveCount; ++c) {
        if (a.counts[c] != b.counts[c] || a.points[c] != b.points[c]) return false;
    }
    return true;
}

// One scratch file per fuzzing process, removed after every load.
const std::string& ScratchPath() {
    static const std::string path = "/tmp/sonvara-fuzz-palette-" + std::to_string(::getpid());
    return path;
}

// Random bytes are almost never a valid file. An input starting with 'P' is instead a list of
// (offset, byte) changes to a valid file, so that files near the valid ones are explored too.
std::vector<std::uint8_t> FileFromInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || data[0] != 'P') return {data, data + size};
    const PaletteFileBytes valid = EncodePaletteFile(ValidPaletteContents());
    std::vector<std::uint8_t> file(valid.begin(), valid.end());
    for (std::size_t pos = 1; pos + 3 <= size; pos += 3) {
        const std::size_t offset = (data[pos] | (data[pos + 1] << 8)) % (kPaletteFileSize + 1);
        if (offset == kPaletteFileSize) {
            file.resize(data[pos + 2] * 11u);  // a short file
        } else if (offset < file.size()) {
            file[offset] = data[pos + 2];
        }
    }
    return file;
}

void CheckCurves(const PaletteEditor& editor) {
    for (int c = 0; c < kCurveCount; ++c) {
        const Curve& curve = editor.GetCurve(c);
        Check(IsValidCurve(curve.points.data(), curve.count));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t inputSize) {
    const std::vector<std::uint8_t> file = FileFromInput(input, inputSize);
    const std::uint8_t* data = file.data();
    const std::size_t size = file.size();
    const std::optional<PaletteFileContents> decoded = DecodePaletteFile(data, size);
    if (decoded) {
        const PaletteFileBytes bytes = EncodePaletteFile(*decoded);
        const std::optional<PaletteFileContents> again =
            DecodePaletteFile(bytes.data(), bytes.size());
        Check(again && SameContents(*again, *decoded));
    }
    {
        std::ofstream out(ScratchPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    NullPlatform platform;
    CVantrelDoc doc(platform);
    doc.palette.useCustomPalette = size > 0 ? data[0] & 1 : 0;
    PaletteEditor& editor = doc.OpenPaletteEditor();
    Check(doc.LoadPaletteFile(ScratchPath()) == decoded.has_value());
    ::unlink(ScratchPath().c_str());
    CheckCurves(editor);
    // Mouse gestures from the input's bytes: select, press, drag, release, reset.
    for (std::size_t pos = 0; pos + 5 <= inputSize && pos < 4 * 1024; pos += 5) {
        const std::uint8_t* g = input + pos;
        const int x = (g[0] | (g[1] << 8)) % 600 - 20;
        const int y = (g[2] | (g[3] << 8)) % 400 - 20;
        switch (g[4] % 5) {
            case 0:
                editor.SelectCurve(g[4] / 5 % 4);
                break;
            case 1:
                editor.Press(x, y);
                break;
            case 2:
                editor.Drag(x, y);
                break;
            case 3:
                editor.Release(x, y);
                break;
            default:
                editor.Reset(g[4] / 5 % 4);
                break;
        }
        if (!editor.Dragging()) CheckCurves(editor);
    }
    editor.Release(0, 0);
    CheckCurves(editor);
    doc.ApplyEditor();
    return 0;
}
