#include "imaging/RowInfo.h"

void RowInfoRing::Follow(int rows) {
    rows = rows > 0 && rows <= kMaxImageRows ? rows : 1;
    entries.assign(static_cast<std::size_t>(rows), RowInfo{});
    index.Reset(rows);
}

void RowInfoRing::ScrollDownKeepingTop(int a) {
    index.ScrollDown(a);
    const int rows = Rows();
    for (int r = a - 1; r >= 0; --r) Row(r) = Row((r + a) % rows);
}

void RowInfoRing::Reset() {
    for (RowInfo& info : entries) {
        info.advance = 1;
        info.pingNumber = 0;
        info.time.fill(0);
        for (NavText& text : info.texts) text.Clear();
    }
}
