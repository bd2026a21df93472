#include "acquisition/ReplyAssembler.h"

#include <algorithm>
#include <cstring>

bool ReplyAssembler::StartsLikeSystemInfo() const {
    static constexpr char kMark[3] = {'I', 'C', 'X'};
    const int n = std::min(length, 3);
    for (int i = 0; i < n; ++i) {
        if (bytes[i] != static_cast<std::uint8_t>(kMark[i])) return false;
    }
    return true;
}

int ReplyAssembler::WholeReplyLength(bool discovering) const {
    if (length == 0) return 0;
    if (discovering && StartsLikeSystemInfo()) {
        return length >= kSystemInfoLength ? kSystemInfoLength : 0;
    }
    if (length < kDataReplyLength) return 0;
    return std::min(length, kDataReplyLength + 1);
}

void ReplyAssembler::Consume(int count) {
    count = std::clamp(count, 0, length);
    std::memmove(bytes.data(), bytes.data() + count, static_cast<std::size_t>(length - count));
    length -= count;
}
