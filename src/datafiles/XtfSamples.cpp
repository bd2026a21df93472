#include "datafiles/XtfSamples.h"

#include <bit>
#include <cmath>

#include "common/ByteOrder.h"

namespace xtf {

namespace {

// SampleFormat codes of CHANINFO.
constexpr int kFormatIbmFloat = 1;
constexpr int kFormatInt32 = 2;
constexpr int kFormatUInt16 = 3;
constexpr int kFormatFloat = 5;
constexpr int kFormatUInt8 = 8;

SampleType IntegerOf(int bytesPerSample) {
    switch (bytesPerSample) {
        case 1:
            return SampleType::UInt8;
        case 2:
            return SampleType::UInt16;
        case 4:
            return SampleType::UInt32;
        default:
            return SampleType::Unreadable;
    }
}

SampleType FormatType(int sampleFormat) {
    switch (sampleFormat) {
        case kFormatIbmFloat:
            return SampleType::IbmFloat32;
        case kFormatInt32:
            return SampleType::UInt32;
        case kFormatUInt16:
            return SampleType::UInt16;
        case kFormatFloat:
            return SampleType::Float32;
        case kFormatUInt8:
            return SampleType::UInt8;
        default:
            return SampleType::Unreadable;
    }
}

}  // namespace

int SampleBytes(SampleType type) {
    switch (type) {
        case SampleType::UInt8:
            return 1;
        case SampleType::UInt16:
            return 2;
        case SampleType::UInt32:
        case SampleType::Float32:
        case SampleType::IbmFloat32:
            return 4;
        case SampleType::Unreadable:
            break;
    }
    return 0;
}

const char* SampleTypeText(SampleType type) {
    switch (type) {
        case SampleType::UInt8:
            return "1-byte integer";
        case SampleType::UInt16:
            return "2-byte integer";
        case SampleType::UInt32:
            return "4-byte integer";
        case SampleType::Float32:
            return "4-byte float";
        case SampleType::IbmFloat32:
            return "4-byte IBM float";
        case SampleType::Unreadable:
            break;
    }
    return "unreadable";
}

SampleType SampleTypeOf(int bytesPerSample, int sampleFormat) {
    const SampleType stated = FormatType(sampleFormat);
    if (stated != SampleType::Unreadable && SampleBytes(stated) == bytesPerSample) return stated;
    return IntegerOf(bytesPerSample);
}

double IbmFloatValue(std::uint32_t bits) {
    const double fraction = static_cast<double>(bits & 0x00FFFFFFu);
    const int exponent = static_cast<int>((bits >> 24) & 0x7F) - 64;
    const double magnitude = std::ldexp(fraction, 4 * exponent - 24);
    return (bits & 0x80000000u) ? -magnitude : magnitude;
}

double SampleView::At(std::size_t i) const {
    switch (type) {
        case SampleType::UInt8:
            return bytes[i];
        case SampleType::UInt16:
            return GetLe16(bytes + 2 * i);
        case SampleType::UInt32:
            return GetLe32(bytes + 4 * i);
        case SampleType::Float32:
            return std::bit_cast<float>(GetLe32(bytes + 4 * i));
        case SampleType::IbmFloat32:
            return IbmFloatValue(GetLe32(bytes + 4 * i));
        case SampleType::Unreadable:
            break;
    }
    return 0;
}

}  // namespace xtf
