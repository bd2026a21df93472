#include "acquisition/RangeList.h"

int RangeIndexOf(int metres) {
    for (int i = kMinRangeIndex; i <= kMaxRangeIndex; ++i) {
        if (kRangeList[i] == metres) return i;
    }
    return kFallbackRangeIndex;
}
