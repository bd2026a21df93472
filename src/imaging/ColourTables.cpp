#include "imaging/ColourTables.h"

#include <algorithm>
#include <cmath>

const char* const kColourTableNames[kColourTableCount] = {
    "Normal  &High",   "Normal  &Low",  "Gr&een",          "&Grey", "&Reverse Grey",
    "&Brown / Yellow", "Gree&n / Blue", "Green / &Yellow", "Bl&ue", "Yellow/Brown"};

namespace {

// The base table ("Normal  &Low"), channel by channel.
constexpr ControlPoint kBaseRed[] = {{0, 0},     {91, 0},    {101, 20},  {112, 20},  {138, 150},
                                     {164, 215}, {166, 210}, {178, 150}, {216, 245}, {217, 180},
                                     {235, 216}, {236, 160}, {255, 160}};
constexpr ControlPoint kBaseGreen[] = {{0, 0},     {40, 0},    {41, 20},   {123, 184}, {124, 185},
                                       {136, 125}, {138, 110}, {142, 100}, {158, 100}, {216, 245},
                                       {217, 180}, {235, 216}, {236, 0},   {255, 0}};
constexpr ControlPoint kBaseBlue[] = {{0, 0},     {40, 80},  {41, 80},   {81, 0},
                                      {197, 0},   {198, 50}, {216, 140}, {217, 180},
                                      {235, 216}, {236, 0},  {255, 0}};

// The brown table ("Yellow/Brown"); its blue channel is 0 everywhere.
constexpr ControlPoint kBrownRed[] = {
    {0, 0},     {7, 10},    {11, 17},   {14, 21},   {18, 28},   {21, 32},   {25, 39},   {32, 49},
    {36, 56},   {63, 96},   {72, 109},  {82, 123},  {100, 147}, {105, 153}, {107, 156}, {114, 164},
    {116, 167}, {134, 187}, {158, 211}, {159, 211}, {165, 217}, {166, 217}, {175, 225}, {176, 225},
    {185, 232}, {186, 232}, {190, 235}, {191, 235}, {195, 238}, {198, 239}, {202, 242}, {219, 249},
    {224, 250}, {226, 251}, {239, 254}, {247, 255}, {255, 255}};
constexpr ControlPoint kBrownGreen[] = {
    {0, 0},     {39, 1},    {41, 2},    {46, 2},    {48, 3},    {56, 4},    {63, 9},    {68, 11},
    {72, 15},   {74, 18},   {79, 24},   {81, 27},   {168, 141}, {194, 175}, {210, 196}, {212, 198},
    {216, 204}, {221, 210}, {223, 213}, {229, 221}, {231, 224}, {234, 227}, {236, 230}, {255, 255}};

constexpr Rgb kMarkYellow = {255, 255, 0};

// floor(n / d) for d > 0.
long FloorDiv(long n, long d) {
    return n / d - ((n % d != 0) && (n < 0) ? 1 : 0);
}

template <std::size_t N>
std::uint8_t Fixed(const ControlPoint (&points)[N], int index) {
    return static_cast<std::uint8_t>(InterpolateControlPoints(points, static_cast<int>(N), index));
}

std::uint8_t Clamp255(double v) {
    return static_cast<std::uint8_t>(std::min(255.0, std::trunc(v)));
}

}  // namespace

int InterpolateControlPoints(const ControlPoint* points, int count, int index) {
    int k = 0;
    while (k + 1 < count - 1 && points[k + 1].index <= index) ++k;
    const ControlPoint a = points[k];
    const ControlPoint b = points[k + 1];
    if (index <= a.index) return a.value;
    if (index >= b.index) return b.value;
    // va + (vb - va)(i - a)/(b - a) rounded half up: floor(q + 1/2) = floor((2n + d) / 2d).
    const long num = static_cast<long>(b.value - a.value) * (index - a.index);
    const long den = b.index - a.index;
    return a.value + static_cast<int>(FloorDiv(2 * num + den, 2 * den));
}

void BuildColourTables(ColourTableSet& tables) {
    for (int i = 0; i < kPaletteEntries; ++i) {
        const Rgb base = {Fixed(kBaseRed, i), Fixed(kBaseGreen, i), Fixed(kBaseBlue, i)};
        const double x = i * 0.5 * 3.1415926 * 0.00390625;
        const std::uint8_t s = Clamp255(std::sin(x) * 256 * 1.2);
        const std::uint8_t c = Clamp255((256 - std::cos(x) * 256) * 1.2);
        const auto v = static_cast<std::uint8_t>(i);
        const auto inv = static_cast<std::uint8_t>(255 - i);
        for (int ch = 0; ch < 3; ++ch) tables[0][i][ch] = Clamp255(1.5 * base[ch]);
        tables[1][i] = base;
        tables[2][i] = {0, v, 0};
        tables[3][i] = {v, v, v};
        tables[4][i] = {inv, inv, inv};
        tables[5][i] = {s, c, 0};
        tables[6][i] = {0, s, c};
        tables[7][i] = {c, s, 0};
        tables[8][i] = {0, c, s};
        tables[9][i] = {Fixed(kBrownRed, i), Fixed(kBrownGreen, i), 0};
    }
    // Entry 255 is the colour of the marks; the brown table already ends in yellow.
    for (int t = 0; t < 9; ++t) tables[t][255] = kMarkYellow;
}

void PaletteFromTable(const ColourTable& table, Palette& palette) {
    for (int k = 0; k < kPaletteEntries; ++k) {
        for (int ch = 0; ch < 3; ++ch) palette[4 * k + PaletteByteOf(ch)] = table[k][ch];
        palette[4 * k + 3] = 0;
    }
}
