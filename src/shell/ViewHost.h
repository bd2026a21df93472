#pragma once
// What the sonar views ask of the main window: the read-outs in its status bars, a refresh of
// its indicators, the view-closed notice and the playback timer around mouse actions. The main
// frame implements it; view tests use a recording fake.

#include <string>

struct RowInfo;  // a row's stamp (imaging/RowInfo.h)

class ViewHost {
public:
    virtual ~ViewHost() = default;
    // The row under the pointer (or the newest row): its time, the cycle's date text and its
    // navigation texts go to the status fields.
    virtual void ShowRowStamp(const RowInfo& row, const std::string& dateText) = 0;
    // The across-track range at the pointer, metres; starboard when right of the nadir.
    virtual void ShowPointerRange(double metres, bool starboard) = 0;
    // The zoom of the active view, in percent.
    virtual void ShowZoom(int percent) = 0;
    // Refreshes the status bars and the command states.
    virtual void RefreshIndicators() = 0;
    // Repaints every view of the document.
    virtual void UpdateAllViews() = 0;
    // A view window was closed: titles and positions are applied again.
    virtual void ViewClosed() = 0;
    // The composite view was double-clicked on image row `row`, pixel column `x`: the main
    // window hands the point to the event dialog. Hosts without events ignore it.
    virtual void BeginNewEvent(int row, int x) {
        (void)row;
        (void)x;
    }
};
