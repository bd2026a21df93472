// The XTF file header: 1024 bytes, plus 1024 for each further 8 channels past 6, holding the
// recorder's names, the navigation units and the CHANINFO table of every channel.

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/ByteOrder.h"
#include "datafiles/XtfReader.h"
#include "export/XtfFormat.h"

namespace xtf {

namespace {

constexpr int kNavProjected = 0;
// Versions up to this one ("430" for 4.30) keep EventNumber elsewhere in the ping header.
constexpr int kLastVersionWithEventElsewhere = 430;
constexpr int kChannelsPerExtraBlock = 8;

std::string TextAt(const std::uint8_t* p, std::size_t n) {
    const char* text = reinterpret_cast<const char*>(p);
    return std::string(text, strnlen(text, n));
}

NavUnits NavUnitsOf(int code) {
    if (code == kNavLatLon) return NavUnits::Degrees;
    if (code == kNavProjected) return NavUnits::Projected;
    return NavUnits::Other;
}

ChannelType ChannelTypeOf(int code) {
    return code <= static_cast<int>(ChannelType::Bathymetry) ? static_cast<ChannelType>(code)
                                                             : ChannelType::Other;
}

// "425" is 4.25; text that is no version says nothing, and EventNumber is read where later
// versions keep it.
bool EventNumberPlaced(const std::string& version) {
    int value = 0;
    const std::from_chars_result read =
        std::from_chars(version.data(), version.data() + version.size(), value);
    return read.ec != std::errc{} || value > kLastVersionWithEventElsewhere;
}

ChannelDescription DecodeChanInfo(const std::uint8_t* p) {
    ChannelDescription c;
    c.typeCode = p[0];
    c.type = ChannelTypeOf(p[0]);
    c.subChannel = p[1];
    c.correctionFlags = GetLe16(p + 2);
    c.bytesPerSample = GetLe16(p + 6);
    c.name = TextAt(p + 12, 16);
    c.frequencyKHz = std::bit_cast<float>(GetLe32(p + 32));
    c.sampleFormat = p[74];
    c.sampleType = SampleTypeOf(c.bytesPerSample, c.sampleFormat);
    return c;
}

std::uint32_t HeaderLengthFor(int channels) {
    if (channels <= kMaxChannels) return kFileHeaderLength;
    const int extra = (channels - kMaxChannels + kChannelsPerExtraBlock - 1) / kChannelsPerExtraBlock;
    return static_cast<std::uint32_t>(kFileHeaderLength * (1 + extra));
}

void DecodeNames(const std::uint8_t* p, FileDescription& file) {
    file.systemType = p[1];
    file.program = TextAt(p + 2, 8);
    file.version = TextAt(p + 10, 8);
    file.sonarName = TextAt(p + 18, 16);
    file.sonarType = GetLe16(p + 34);
    file.note = TextAt(p + 36, 64);
    file.fileName = TextAt(p + 100, 64);
    file.navUnitsCode = GetLe16(p + 164);
    file.navUnits = NavUnitsOf(file.navUnitsCode);
    file.eventNumberPlaced = EventNumberPlaced(file.version);
}

// Why the first 1024 bytes are no XTF file header, or empty.
std::string NotXtf(const std::uint8_t* p) {
    if (std::all_of(p, p + kFileHeaderLength, [](std::uint8_t b) { return b == 0; })) {
        return "not an XTF file: its first 1024 bytes are all zero";
    }
    if (p[0] != kFileFormatMark) {
        char text[80];
        std::snprintf(text, sizeof text, "not an XTF file: it starts with byte 0x%02X, not 0x7B",
                      p[0]);
        return text;
    }
    return {};
}

}  // namespace

bool ReadFileDescription(svx::ByteSource& source, FileDescription& file, std::string& error) {
    file = FileDescription{};
    const std::uint64_t size = source.Size();
    std::vector<std::uint8_t> header(kFileHeaderLength);
    if (size < kFileHeaderLength || source.ReadAt(0, header.data(), header.size()) < header.size()) {
        error = "not an XTF file: " + std::to_string(size) +
                " bytes, fewer than the 1024 of an XTF file header";
        return false;
    }
    error = NotXtf(header.data());
    if (!error.empty()) return false;
    file.sonarChannels = GetLe16(header.data() + 166);
    file.bathymetryChannels = GetLe16(header.data() + 168);
    const int channels = file.sonarChannels + file.bathymetryChannels;
    if (channels > kMaxDescribedChannels) {
        error = "XTF file header claims " + std::to_string(channels) +
                " channels; a header describes at most 256";
        return false;
    }
    file.headerLength = HeaderLengthFor(channels);
    if (file.headerLength > size) {
        error = "XTF file header of " + std::to_string(channels) + " channels needs " +
                std::to_string(file.headerLength) + " bytes, the file has " + std::to_string(size);
        return false;
    }
    header.resize(file.headerLength);
    if (source.ReadAt(0, header.data(), header.size()) < header.size()) {
        error = "XTF file header cannot be read";
        return false;
    }
    DecodeNames(header.data(), file);
    for (int i = 0; i < channels; ++i) {
        file.channels.push_back(DecodeChanInfo(header.data() + kChanInfoOffset + i * kChanInfoLength));
    }
    if (std::none_of(file.channels.begin(), file.channels.end(),
                     [](const ChannelDescription& c) { return c.SideScan(); })) {
        error = "XTF file header describes no port or starboard channel with 1-, 2- or 4-byte "
                "samples";
        return false;
    }
    return true;
}

const char* ChannelTypeText(ChannelType type) {
    switch (type) {
        case ChannelType::SubBottom:
            return "sub-bottom";
        case ChannelType::Port:
            return "port";
        case ChannelType::Starboard:
            return "starboard";
        case ChannelType::Bathymetry:
            return "bathymetry";
        case ChannelType::Other:
            break;
    }
    return "other";
}

const char* DamageText(PacketDamage damage) {
    switch (damage) {
        case PacketDamage::None:
            return "no damage";
        case PacketDamage::NoMagic:
            return "no XTF packet starts here (no 0xFACE)";
        case PacketDamage::TooShort:
            return "packet size smaller than its header";
        case PacketDamage::CutOff:
            return "packet cut off by the end of the file";
        case PacketDamage::Oversized:
            return "sonar packet larger than 64 MB";
        case PacketDamage::ChannelHeaders:
            return "channel headers reach past the packet's end";
        case PacketDamage::ChannelNumber:
            return "channel number not in the file header's channel table";
        case PacketDamage::Samples:
            return "channel samples reach past the packet's end";
    }
    return "damaged";
}

std::string DamageLine(const DamagedStretch& stretch) {
    return "damaged at byte " + std::to_string(stretch.offset) + " (" +
           std::to_string(stretch.bytes) + " bytes stepped over): " + DamageText(stretch.damage);
}

}  // namespace xtf
