#pragma once
// Where a report is written: into a temporary folder (and a temporary PDF) beside the targets,
// renamed into place only when everything was written, so a report that fails leaves nothing
// half-written behind. A report folder that exists is replaced as a whole.

#include <string>

namespace cli {

class ReportOutput {
public:
    ReportOutput() = default;
    ReportOutput(const ReportOutput&) = delete;
    ReportOutput& operator=(const ReportOutput&) = delete;
    // Removes whatever was not committed.
    ~ReportOutput();

    // Makes the temporary folder beside `dir` and, with a `pdf`, the temporary file beside it;
    // false with "cannot write PATH: reason".
    bool Prepare(const std::string& dir, const std::string& pdf, std::string& error);
    const std::string& Folder() const { return tempDir; }
    const std::string& PdfFile() const { return tempPdf; }
    // Renames the PDF, then the folder, into place; false with the reason (and nothing left).
    bool Commit(std::string& error);

private:
    void Discard();

    std::string dir, pdf, tempDir, tempPdf;
};

}  // namespace cli
