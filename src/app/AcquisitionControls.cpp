#include "app/AcquisitionControls.h"

#include <algorithm>
#include <cmath>

#include "acquisition/RangeList.h"
#include "common/TextFormat.h"
#include "document/CVantrelDoc.h"

namespace {

constexpr int kSideScanGainSpinMax = 20;
constexpr int kMaxEsRangeIndex = 17;

void StepRange(CVantrelDoc& doc, int step) {
    const int index = doc.rangeIndex + step;
    if (index < kMinRangeIndex || index > kMaxRangeIndex) return;
    doc.rangeIndex = index;
    doc.range = kRangeList[index];
    doc.BuildSwitchCommands();
}

void StepGains(CVantrelDoc& doc, int step) {
    // A stored gain above the limit is left as it is by Increase and lowered by Decrease.
    for (int h = kHeadL; h <= kHeadH; ++h) {
        std::int32_t& gain = doc.heads[h].gainDb;
        if ((step > 0 && gain < kMaxGainDb) || (step < 0 && gain > kMinGainDb)) gain += step;
    }
    doc.BuildSwitchCommands();
}

}  // namespace

void IncreaseRange(CVantrelDoc& doc) { StepRange(doc, +1); }
void DecreaseRange(CVantrelDoc& doc) { StepRange(doc, -1); }
void IncreaseGain(CVantrelDoc& doc) { StepGains(doc, +1); }
void DecreaseGain(CVantrelDoc& doc) { StepGains(doc, -1); }
void SetUnits(CVantrelDoc& doc, int units) { doc.units = units ? 1 : 0; }

std::string RangeText(int metres, int units) {
    return units ? Printf("%d ft", metres * 3) : Printf("%d m", metres);
}
std::string GainText(int gainDb) { return Printf("%d dB", gainDb); }
std::string DisplayFactorText(double factor) {
    return Printf("%d ", static_cast<int>(factor * 100.0 + 0.5)) + "%";
}
std::string FrequencyLabel(int frequencyHz) { return Printf("%d kHz", frequencyHz / 1000); }

int GainSpinHead(const CVantrelDoc& doc, int spinId) {
    switch (spinId) {
        case kSpinGainA:
            return doc.threeFrequencySystem ? kHeadL : doc.displayChannelA;
        case kSpinGainB:
            return doc.threeFrequencySystem ? kHeadH : doc.displayChannelB;
        case kSpinGainM:
            return kHeadM;
        default:
            return kHeadES;
    }
}

int DisplaySpinSlot(const CVantrelDoc& doc, int spinId) {
    switch (spinId) {
        case kSpinDisplayA:
            return doc.threeFrequencySystem ? kHeadL : doc.displayChannelA;
        case kSpinDisplayB:
            return doc.threeFrequencySystem ? kHeadH : doc.displayChannelB;
        default:
            return kHeadM;
    }
}

SpinResult SpinAcquisition(CVantrelDoc& doc, int spinId, int delta) {
    SpinResult result;
    if (doc.playbackMode) return result;
    if (spinId == kSpinRange || spinId == kSpinEsRange) {
        const bool es = spinId == kSpinEsRange;
        int& index = es ? doc.esRangeIndex : doc.rangeIndex;
        const int clamped =
            std::clamp(index + delta, kMinRangeIndex, es ? kMaxEsRangeIndex : kMaxRangeIndex);
        result.editId = es ? kEditEsRange : kEditRange;
        if (clamped == index) return result;
        index = clamped;
        (es ? doc.esRange : doc.range) = kRangeList[clamped];
        result.editText = RangeText(kRangeList[clamped], doc.units);
    } else {
        const int head = GainSpinHead(doc, spinId);
        const int limit = spinId == kSpinGainES ? kMaxGainDb : kSideScanGainSpinMax;
        const int clamped = std::clamp(doc.heads[head].gainDb + delta, kMinGainDb, limit);
        result.editId = spinId == kSpinGainA   ? kEditGainA
                        : spinId == kSpinGainM ? kEditGainM
                        : spinId == kSpinGainB ? kEditGainB
                                               : kEditGainES;
        const bool alwaysStore = spinId == kSpinGainA || spinId == kSpinGainB;
        if (clamped == doc.heads[head].gainDb && !alwaysStore) return result;
        doc.heads[head].gainDb = clamped;
        result.editText = GainText(clamped);
    }
    doc.BuildSwitchCommands();
    result.changed = true;
    return result;
}

SpinResult SpinDisplayFactor(CVantrelDoc& doc, int spinId, int delta) {
    SpinResult result;
    double& factor = doc.images.slotStates[DisplaySpinSlot(doc, spinId)].intensityFactor;
    // Work in whole percent so that repeated steps of 0.01 do not drift.
    const int percent =
        std::clamp(static_cast<int>(std::lround(factor * 100.0)) + delta, 0, 200);
    factor = percent / 100.0;
    result.changed = true;
    result.editId = spinId == kSpinDisplayA   ? kEditDisplayA
                    : spinId == kSpinDisplayM ? kEditDisplayM
                                              : kEditDisplayB;
    result.editText = DisplayFactorText(factor);
    return result;
}
