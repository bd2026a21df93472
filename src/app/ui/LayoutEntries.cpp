#include "app/ui/LayoutEntries.h"

#include "app/WindowTitles.h"
#include "document/CVantrelDoc.h"
#include "ui/sensors/SensorWindows.h"

LayoutEntry EchoSounderEntry(CVantrelDoc& doc, SensorWindows& sensors) {
    LayoutEntry entry;
    entry.window = kESFrame;
    entry.create = [&sensors] { return sensors.CreateEchoSounder(); };
    entry.existing = [&sensors] { return sensors.Sub(SensorWindows::kEchoSounder); };
    entry.wanted = [&doc] { return doc.heads[kHeadES].available != 0; };
    entry.title = [] { return QString::fromStdString(LayoutWindowTitle(kESFrame, 0)); };
    // Its command hides and shows it; a layout only moves it.
    entry.shownByLayout = false;
    return entry;
}
