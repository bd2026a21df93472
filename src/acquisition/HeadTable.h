#pragma once
// The four sonar heads of the installation, indexed by HeadChannel.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/CSCSocket.h"

enum HeadChannel : int { kHeadL = 0, kHeadM = 1, kHeadH = 2, kHeadES = 3 };

inline constexpr int kHeadCount = 4;
inline constexpr int kCommandLength = 128;
inline constexpr int kReplyHeaderLength = 128;
inline constexpr int kReplyDataLength = 1000;
inline constexpr int kDataReplyLength = kReplyHeaderLength + kReplyDataLength;  // 1128
inline constexpr int kSystemInfoLength = 256;
inline constexpr int kLineLength = 2000;
inline constexpr int kStoredHeaderLength = 127;
inline constexpr int kReceiveBufferLength = 4096;
inline constexpr int kMinGainDb = 0;
inline constexpr int kMaxGainDb = 40;

// Transmit-off mask bits: the side that does not transmit.
inline constexpr std::uint8_t kPortSilent = 2;
inline constexpr std::uint8_t kStarboardSilent = 1;

struct HeadEntry {
    std::string ipAddress;
    std::int32_t frequencyHz = 0;
    std::int32_t minFrequencyHz = 0;
    std::int32_t maxFrequencyHz = 0;
    std::int32_t gainDb = 6;
    std::uint8_t transmitOffMask = 0;
    std::int32_t available = 1;
    std::string headerId = "n/a";
    std::int32_t headerStatus = 0;
    // Status byte of the first-half reply of the cycle under way (its header is not kept).
    std::int32_t firstHalfStatus = 0;
    std::unique_ptr<CSCSocket> socket;
    std::array<std::uint8_t, kCommandLength> command{};
    std::array<std::uint8_t, kReplyHeaderLength> replyHeader{};
    std::array<std::uint8_t, kLineLength> line{};

    bool IsConnected() const { return socket && socket->connected != 0; }
};

// Texts and labels of each head.
const char* HeadIniSection(int head);  // "Sonar L", "Sonar M", "Sonar H", "Echo Sounder"
const char* HeadLabel(int head);       // "L", "M", "H", "ES"
const char* DefaultHeadAddress(int head);
std::int32_t InitialHeadFrequencyHz(int head);
