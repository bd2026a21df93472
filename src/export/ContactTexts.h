#pragma once
// The texts of a contact report: each contact's fields as the pages show them, the table of
// all contacts as CSV and as GeoJSON (RFC 7946: longitude before latitude, a contact without a
// position with a null geometry), and the report's HTML page. Numbers are written with a
// decimal point whatever the locale; text is UTF-8 and escaped for its format.

#include <string>
#include <utility>
#include <vector>

#include "export/ContactReport.h"

namespace svx {

// A picture of a report: its file name inside the report folder and what it shows.
struct ReportImage {
    std::string file;     // "chips/contact-003.png"
    std::string caption;  // "Composite, scale bar 10 m"
};

// Everything the report's pages show; the pictures are made by the caller.
struct ReportContent {
    std::vector<std::string> recordings;  // file names of the inputs, in order
    std::vector<Contact> contacts;
    std::vector<std::vector<ReportImage>> chips;  // per contact: the composite, then L, M, H
    ReportImage overview;                         // empty file: no overview picture
    std::string overviewNote;  // what the overview shows ("mosaic of head M, 0.1 m a pixel")
    std::vector<std::string> problems;  // damaged event files, files left out, chips missing
};

// One field of a contact: its label and its text.
using ContactField = std::pair<std::string, std::string>;
// The fields of a contact's entry, in the order the pages list them.
std::vector<ContactField> ContactFields(const Contact& c);
// "port" / "starboard".
const char* SideName(const Contact& c);
// "E 123456.7 m, N 6012345.6 m, zone 32N", or "no position".
std::string UtmText(const Contact& c);

// "3 contacts in 2 recordings: " (singular where it is one), before the list of files.
std::string ReportSummary(const ReportContent& content);

std::string ContactsCsv(const std::vector<Contact>& contacts);
std::string ContactsGeoJson(const std::vector<Contact>& contacts);
// A JSON string literal, quotes included.
std::string JsonString(const std::string& text);

// The report page (well-formed XHTML in HTML5, self-contained: its style and its table's
// sorting script inline; the pictures beside it).
std::string ContactReportHtml(const ReportContent& content);

}  // namespace svx
