#include "datafiles/EventAcross.h"

double AcrossFractionOfColumn(int column, int width, int sideMode) {
    if (width <= 0) return 0.0;
    if (sideMode == 1) column /= 2;
    if (sideMode == 2) column = column / 2 + width / 2;
    return static_cast<double>(column) / width;
}

int ColumnOfAcrossFraction(double fraction, int width, int sideMode) {
    // A fraction read back from its six decimals may come out a hair below the column it was
    // made from; the small addition keeps truncation from taking the column before it.
    int x = static_cast<int>(width * fraction + 1e-6);
    if (sideMode == 1) x *= 2;
    if (sideMode == 2) x = (x - width / 2) * 2;
    return x;
}
