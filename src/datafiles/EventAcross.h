#pragma once
// Where an event sits across the track: the fraction of the full image line (0 left edge, 1
// right edge) and the pixel column of a composite image shown in one of the three side modes
// (1 port only, 2 starboard only, 3 both sides). A side shown alone fills the whole width, so
// its columns are half as dense as those of the full line.

// The across fraction of a column clicked on an image `width` pixels wide.
double AcrossFractionOfColumn(int column, int width, int sideMode);
// The column at which an event of this fraction is drawn (outside 0..width - 1 when the side
// mode does not show it).
int ColumnOfAcrossFraction(double fraction, int width, int sideMode);
