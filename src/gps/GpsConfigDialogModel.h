#pragma once
// What the "GPS Serial Port Configuration and Diagnostics" dialog edits, without the dialog:
// working copies of the port and line settings and of the sentence selection, the list
// entries and their selections, the stay-open flag behind "&Apply" and "&Default", and the
// read-interval spin. The dialog shows the lists and forwards the user's choices; "&OK" and
// "&Apply" hand Choice() to the document (ApplyGpsConfigChoice).

#include <cstdint>
#include <string>
#include <vector>

#include "gps/GpsDevices.h"
#include "gps/GpsPortSettings.h"

// The settings the dialog can change, as the document stores them.
struct GpsConfigChoice {
    std::int32_t port = 1;
    std::string device;  // the chosen device path; empty when none is listed
    std::int32_t baudRate = 4800;
    std::int32_t dataBits = 8;
    std::int32_t stopBits = 0;  // stored code: 0 one stop bit, 2 two
    std::int32_t parity = 0;    // list position: 0 "None", 1 "Even", 2 "Odd"
    std::int32_t sentenceSet = 2;

    bool operator==(const GpsConfigChoice&) const = default;
};

// The choice that the settings stand for, as the dialog shows it on opening.
GpsConfigChoice ChoiceOf(const GpsPortSettings& settings);

class GpsConfigDialogModel {
public:
    static constexpr int kSpinMin = 2;  // times 100 ms
    static constexpr int kSpinMax = 20;
    static constexpr int kEditMin = 100;
    static constexpr int kEditMax = 2000;

    static const std::vector<std::string>& BaudRateTexts();
    static const std::vector<std::string>& ParityTexts();
    static const std::vector<std::string>& DataBitsTexts();
    static const std::vector<std::string>& StopBitsTexts();
    static const std::vector<std::string>& FlowControlTexts();
    static const std::vector<std::string>& SentenceTexts();
    // The "Baud Rate" entry of a rate; a rate not in the list gives "4,800".
    static int BaudRateListIndex(int baudRate);

    // Opening and "&Cancel": working copies from the settings, the port list from the
    // ports found (the configured one is added when missing), the stay-open flag cleared and
    // "&Apply" disabled. Plain device names are ports without a by-id name.
    void LoadPorts(const GpsPortSettings& settings, const std::vector<GpsPortEntry>& ports);
    void Load(const GpsPortSettings& settings, const std::vector<std::string>& devices);
    // A new list of ports (a probe finished): the working choice, the stay-open flag and
    // "&Apply" stay as they are.
    void SetPorts(const std::vector<GpsPortEntry>& ports);

    // The "Com Port" entries: each device with its by-id name beside it, or the single
    // "No Com Ports available".
    const std::vector<std::string>& PortTexts() const { return portTexts; }
    bool PortListEnabled() const { return !entries.empty(); }
    // Selected list positions; -1 selects nothing.
    int PortIndex() const { return portIndex; }
    int BaudRateIndex() const { return BaudRateListIndex(working.baudRate); }
    int ParityIndex() const;
    int DataBitsIndex() const;
    int StopBitsIndex() const;
    int SentenceIndex() const { return working.sentenceSet; }

    // A choice in a list: the working copy follows and "&Apply" is enabled.
    void SelectPort(int index);
    void SelectBaudRate(int index);
    void SelectParity(int index);
    void SelectDataBits(int index);
    void SelectStopBits(int index);
    void SelectSentences(int index);

    // "&Default": the first port, 4,800 baud, 8 data bits, one stop bit, no parity, "RMC";
    // the dialog stays open at the next "&OK".
    void Default();
    // "&Apply" sets the stay-open flag, then runs the "&OK" logic.
    void PressApply() { stayOpen = true; }
    // The end of "&OK" (after the choice was applied): whether the dialog hides. When it
    // stays, "&Apply" is disabled and the flag is cleared.
    bool FinishOk();

    // The read-interval spin: its position for an interval, and a step from a position.
    static int SpinPosition(int intervalMs);
    // The interval after a step of the spin: position + step, clamped to 2..20, times 100.
    static int SpinStep(int position, int step);
    // An interval typed into the edit box: whether it lies in 100..2000.
    static bool ValidEditInterval(int intervalMs);

    const GpsConfigChoice& Choice() const { return working; }
    bool ApplyEnabled() const { return applyEnabled; }
    bool StayOpen() const { return stayOpen; }

private:
    void Changed() { applyEnabled = true; }

    GpsConfigChoice working;
    std::vector<GpsPortEntry> entries;
    std::vector<std::string> portTexts;
    int portIndex = -1;
    bool stayOpen = false;
    bool applyEnabled = false;
};

// The sentence types drawn blue in the received list for a selection: GLL or VTG for 0, GGA
// or VTG for 1, RMC for 2, VTG for 3. `sentence` is the whole sentence ("$GPRMC,...").
bool SentenceInSelection(const std::string& sentence, int sentenceSet);
