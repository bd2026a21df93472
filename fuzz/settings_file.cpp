// Arbitrary settings files: untouched text must come back byte for byte, reads must not fail,
// and a key written under any name the writer accepts must read back after a reparse.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/ProfileFile.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ProfileFile profile = ProfileFile::FromText(text);
    Check(profile.Text() == text);
    profile.GetProfileInt("View", "Color Table", 9);
    profile.GetProfileString("Sonar L", "IP Address", "192.168.0.2");

    // Names taken from the input itself: a section and a key of up to 12 bytes each.
    const std::string_view section = text.substr(0, std::min<std::size_t>(12, size));
    const std::string_view key = text.substr(section.size(), 12);
    profile.GetProfileString(section, key, "");
    if (profile.WriteProfileString(section, key, "written")) {
        const ProfileFile reread = ProfileFile::FromText(profile.Text());
        Check(reread.GetProfileString(section, key, "") == "written");
    }
    Check(profile.WriteProfileInt("View", "Color Table", 5));
    Check(ProfileFile::FromText(profile.Text()).GetProfileInt("view", "color table", 0) == 5);
    return 0;
}
