#include "acquisition/HeadTable.h"

namespace {
constexpr const char* kSections[kHeadCount] = {"Sonar L", "Sonar M", "Sonar H", "Echo Sounder"};
constexpr const char* kLabels[kHeadCount] = {"L", "M", "H", "ES"};
constexpr const char* kAddresses[kHeadCount] = {"192.168.0.2", "192.168.0.3", "192.168.0.4",
                                                "192.168.0.5"};
constexpr std::int32_t kInitialFrequencies[kHeadCount] = {120000, 260000, 675000, 200000};

int Clamp(int head) { return head < 0 ? 0 : (head >= kHeadCount ? kHeadCount - 1 : head); }
}  // namespace

const char* HeadIniSection(int head) { return kSections[Clamp(head)]; }
const char* HeadLabel(int head) { return kLabels[Clamp(head)]; }
const char* DefaultHeadAddress(int head) { return kAddresses[Clamp(head)]; }
std::int32_t InitialHeadFrequencyHz(int head) { return kInitialFrequencies[Clamp(head)]; }
