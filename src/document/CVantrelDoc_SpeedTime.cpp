// The cycle time stamp and the speed-source settings.

#include "document/CVantrelDoc.h"
#include "gps/ShipSpeedDialogModel.h"

void CVantrelDoc::StampCycleTime() {
    cycleTime.Stamp(platform.Now());
}

void CVantrelDoc::ApplySpeedDialog(const ShipSpeedDialogModel& dialog) {
    dialog.ApplyTo(speed);
    // The new speed applies to what is already shown.
    RedrawSideScanImages();
}

void CVantrelDoc::ToggleConvertUtcToLocal() {
    speed.convertUtcToLocal = speed.convertUtcToLocal ? 0 : 1;
}

void CVantrelDoc::SynchronizeWithGpsTime() {
    speed.syncWithGpsTime = 1;
}
