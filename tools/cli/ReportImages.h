#pragma once
// The pictures and the PDF of a contact report, drawn with Qt (the command runs a
// QGuiApplication on the offscreen platform): the chips of each recording's contacts, cut
// from the composite image and its channel planes while the file plays headless, each with a
// scale bar; the overview of the survey; the PDF pages made from the same content as the HTML.

#include <string>
#include <vector>

#include "export/ContactTexts.h"

class QImage;

namespace cli {

// Saves a picture as PNG at the least zlib effort: speckled sonar pictures hardly compress, and
// at Qt's default level the encoding took most of a report's time. False when it cannot.
bool SavePng(const QImage& image, const std::string& path);

// Plays the recording and writes the chips of its contacts (content.contacts[first .. first +
// count - 1], all of this recording) into `folder`/chips, adding their pictures to
// content.chips; what went wrong goes to content.problems. False when a chip is missing.
bool WriteRecordingChips(const std::string& file, int first, int count, int chipSize,
                         const std::string& folder, svx::ReportContent& content);

// The overview of the survey into `folder`/overview.png: the mosaic of the recordings with
// positions, or their tracks when no mosaic can be laid, every contact numbered on it. Sets
// content.overview (no file when there is no position at all) and its note.
void WriteOverview(const std::vector<std::string>& inputs,
                   const std::vector<std::vector<svx::TrackPoint>>& tracks,
                   const std::string& folder, svx::ReportContent& content);

// The report as an A4 PDF at `path`: the overview page, then one contact per half page, the
// pictures read from `folder`. False with the reason.
bool WriteReportPdf(const svx::ReportContent& content, const std::string& folder,
                    const std::string& path, std::string& error);

}  // namespace cli
