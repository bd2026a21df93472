#pragma once
// Writes a document's side-scan images as PNG files: L, M and H as 8-bit images through the
// active palette, the composite as a 24-bit image, and the echogram (when the document has
// one) as an 8-bit image through the current colour table.

#include <string>

class CVantrelDoc;

namespace cli {

// Writes L, M, H, composite and echo into dir (created when missing) under the names ImageFileName
// gives; false (with a reason) when a file cannot be written.
bool WriteImageSet(const CVantrelDoc& doc, const std::string& dir, int records, bool numbered,
                   std::string& error);

// Writes the part of the 24-bit composite image that starts at (left, top), width x height
// pixels inside the image, as a PNG file; false (with a reason) when it cannot be written.
bool WriteCompositeCut(const CVantrelDoc& doc, int left, int top, int width, int height,
                       const std::string& path, std::string& error);

}  // namespace cli
