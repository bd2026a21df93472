#pragma once
// What the writers that go through GDAL share: the drivers registered once, GDAL's messages
// kept off stderr (they become the one line of the caller), and a UTM dataset made on the
// grid of a mosaic.

#include <gdal.h>

#include <string>

#include "export/Mosaic.h"

namespace svx {

void RegisterGdal();

// While alive, GDAL's errors are kept for LastGdalError instead of printed; the last error is
// cleared at the start.
class QuietGdalErrors {
public:
    QuietGdalErrors();
    ~QuietGdalErrors();
    QuietGdalErrors(const QuietGdalErrors&) = delete;
    QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;
};

// GDAL's last error message, or `fallback` when it has none.
std::string LastGdalError(const char* fallback);
// True when GDAL has reported a failure since the last reset.
bool GdalFailed();

// A dataset of `driver` over the mosaic's extent, on its grid (UTM of its zone), with `bands`
// bands of `type`, nodata 0 on each; nullptr with the error set ("cannot write PATH: ...").
GDALDatasetH CreateOnGrid(const char* driver, const std::string& path, const Mosaic& mosaic,
                          int bands, GDALDataType type, char** options, std::string& error);

}  // namespace svx
