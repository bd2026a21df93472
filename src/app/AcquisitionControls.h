#pragma once
// The acquisition settings the operator changes from the menus, keys and control bars: range,
// echo-sounder range, gains, display factors and units. Each change that the heads carry
// rebuilds the switch commands; nothing is sent because a setting changed.

#include <string>

class CVantrelDoc;

// Control identifiers of the control bars.
enum ControlId : int {
    kEditRange = 1069, kSpinRange = 1072,
    kEditEsRange = 1071, kSpinEsRange = 1077,
    kEditGainA = 1074, kSpinGainA = 1078,
    kEditGainM = 1081, kSpinGainM = 1093,
    kEditGainB = 1096, kSpinGainB = 1100,
    kEditGainES = 1097, kSpinGainES = 1102,
    kEditDisplayA = 1079, kSpinDisplayA = 1073,
    kEditDisplayM = 1090, kSpinDisplayM = 1075,
    kEditDisplayB = 1094, kSpinDisplayB = 1098,
    kLabelFreqA = 1395, kLabelFreqB = 1397,
    kSpinPlaySpeed = 1224, kProgressPlaySpeed = 1223, kSliderPosition = 1225,
};

// Menu commands (real time only; the caller checks the mode through the command state).
void IncreaseRange(CVantrelDoc& doc);
void DecreaseRange(CVantrelDoc& doc);
void IncreaseGain(CVantrelDoc& doc);
void DecreaseGain(CVantrelDoc& doc);
void SetUnits(CVantrelDoc& doc, int units);

// Texts of the control-bar edits.
std::string RangeText(int metres, int units);  // "50 m" / "150 ft"
std::string GainText(int gainDb);               // "6 dB"
std::string DisplayFactorText(double factor);   // "100 %"
std::string FrequencyLabel(int frequencyHz);    // "260 kHz"

// The head whose gain a gain spin changes: head 0 / 2 in a three-frequency system, else
// display channel A / B; the middle spin is always head 1 and the ES spin head 3.
int GainSpinHead(const CVantrelDoc& doc, int spinId);
// The image slot whose display factor a display spin changes, the same way.
int DisplaySpinSlot(const CVantrelDoc& doc, int spinId);

struct SpinResult {
    bool changed = false;
    int editId = 0;
    std::string editText;
};

// A spin of the range and gain controls moved by delta: clamped, stored, switch commands
// rebuilt. Ignored during playback.
SpinResult SpinAcquisition(CVantrelDoc& doc, int spinId, int delta);
// A display-factor spin moved by delta (hundredths): the slot's intensity factor, clamped to
// 0..2. It scales the images from the next ping on and is not sent to the heads.
SpinResult SpinDisplayFactor(CVantrelDoc& doc, int spinId, int delta);
