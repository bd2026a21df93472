#include "datafiles/DataRecordFormat.h"

#include <algorithm>
#include <cstring>

namespace svx {

bool HasMagic(const std::uint8_t* header) {
    return std::memcmp(header + kMagic, kMagicText, sizeof kMagicText) == 0;
}

void EncodeGpsBlock(const std::array<std::string, kGpsSlotCount>& sentences, std::uint8_t* out) {
    std::memset(out, 0, kGpsBlockLength);
    for (int i = 0; i < kGpsSlotCount; ++i) {
        const std::string& text = sentences[i];
        const std::size_t n = std::min<std::size_t>(text.size(), kGpsSlotLength);
        std::memcpy(out + i * kGpsSlotLength, text.data(), n);
    }
    if (sentences[0].empty()) std::memcpy(out, "$GPS", 4);
}

void DecodeGpsBlock(const std::uint8_t* in, std::array<std::string, kGpsSlotCount>& sentences) {
    for (int i = 0; i < kGpsSlotCount; ++i) {
        const char* slot = reinterpret_cast<const char*>(in + i * kGpsSlotLength);
        sentences[i].assign(slot, strnlen(slot, kGpsSlotLength));
    }
}

int DecimalValue(const char* text, int n) {
    int value = 0;
    for (int i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

void ParseRecordTime(const char* date, const char* time, CycleTime& clock) {
    clock.day = static_cast<std::uint16_t>(DecimalValue(date, 2));
    // The month name sits at characters 3..5 only when the day text is complete.
    if (strnlen(date, 3) == 3) {
        for (int month = 1; month <= 12; ++month) {
            if (std::strncmp(date + 3, MonthAbbreviation(month), 3) == 0) {
                clock.month = static_cast<std::uint16_t>(month);
                break;
            }
        }
    }
    clock.year = strnlen(date, 7) == 7 ? static_cast<std::uint16_t>(DecimalValue(date + 7, 4)) : 0;
    clock.hour = static_cast<std::uint16_t>(DecimalValue(time, 2));
    clock.minute =
        strnlen(time, 3) == 3 ? static_cast<std::uint16_t>(DecimalValue(time + 3, 2)) : 0;
    clock.second =
        strnlen(time, 6) == 6 ? static_cast<std::uint16_t>(DecimalValue(time + 6, 2)) : 0;
}

}  // namespace svx
