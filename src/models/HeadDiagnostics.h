#pragma once
// What the "Diagnostics" and "Transmit" dialogs show and change: the per-head texts of the
// diagnostics dialog, and the seven transmit switches of the heads' transmit-off masks.

#include <array>
#include <cstdint>
#include <string>

class CVantrelDoc;

// Every value of the diagnostics dialog, as its controls show it.
struct DiagnosticsTexts {
    std::string header;        // "Header:"
    std::string serialStatus;  // "Serial Stat:"
    std::string frequency;     // "Frequency:"
    std::string realTimePrf;   // "RealTime PRF:"
    std::string gain;          // "Gain:"
    std::string range;         // "Range:"
    std::string connection;    // "Connection:"
    std::string loopTime;      // "Loop Time:"
    std::string displayTime;   // "Disp Time:"
    std::string runMode;       // "Run Mode:"
    std::string serialNumber;  // "Serial Number:"
};

// A three-frequency system shows all four heads; other systems display channel A, display
// channel B and the echo sounder (the run mode only A and B).
DiagnosticsTexts MakeDiagnosticsTexts(const CVantrelDoc& doc);

// One check box of the transmit dialog: its control, the head and the mask bit it controls.
struct TransmitSwitch {
    int controlId;
    int head;
    std::uint8_t bit;
};
inline constexpr int kTransmitSwitchCount = 7;
// Rows 120, 260, 540 kHz (port, starboard) and the echo sounder (one box, in the port column).
const std::array<TransmitSwitch, kTransmitSwitchCount>& TransmitSwitches();

using TransmitChecks = std::array<bool, kTransmitSwitchCount>;
// A box is checked while its bit is clear: that side transmits.
TransmitChecks ReadTransmitChecks(const CVantrelDoc& doc);
// A checked box clears its bit, an unchecked one sets it; then the switch commands are built
// again so that the next request of each head carries its mask.
void ApplyTransmitChecks(CVantrelDoc& doc, const TransmitChecks& checks);
// The row labels: "%d kHz" of heads 0..2 and "ES".
std::array<std::string, 4> TransmitRowLabels(const CVantrelDoc& doc);
