// The contact report as one HTML page, written as well-formed XHTML so that XML tools read it
// too: every text escaped, every element closed, the script inside a CDATA section.

#include "common/TextEncoding.h"
#include "common/TextFormat.h"
#include "export/ContactTexts.h"
#include "export/GeoTexts.h"

namespace svx {

namespace {

constexpr const char* kStyle = R"(
body { font-family: "DejaVu Sans", "Liberation Sans", sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.6em; } h2 { margin-top: 1.6em; border-bottom: 1px solid #999; }
table.sortable { border-collapse: collapse; }
table.sortable th, table.sortable td { border: 1px solid #bbb; padding: 0.2em 0.5em; }
table.sortable th { background: #e8e8e8; cursor: pointer; }
table.sortable th[aria-sort="ascending"]::after { content: " \25B2"; }
table.sortable th[aria-sort="descending"]::after { content: " \25BC"; }
table.fields th { text-align: left; padding-right: 1em; font-weight: normal; color: #555; }
section.contact { border-top: 1px solid #ccc; padding-top: 0.5em; }
div.chips { display: flex; flex-wrap: wrap; gap: 1em; }
figure { margin: 0.5em 0; } figcaption { font-size: 0.85em; color: #555; }
img.overview { max-width: 100%; border: 1px solid #999; }
ul.problems li { color: #a00; }
)";

// Sorts the table by the column clicked, numbers as numbers, again to reverse.
constexpr const char* kScript = R"(
document.querySelectorAll("table.sortable th").forEach(function (th, col) {
  th.addEventListener("click", function () {
    var table = th.closest("table"), body = table.tBodies[0];
    var rows = Array.prototype.slice.call(body.rows);
    var up = th.getAttribute("aria-sort") !== "ascending";
    table.querySelectorAll("th").forEach(function (h) { h.removeAttribute("aria-sort"); });
    th.setAttribute("aria-sort", up ? "ascending" : "descending");
    rows.sort(function (a, b) {
      var x = a.cells[col].textContent, y = b.cells[col].textContent;
      var nx = parseFloat(x), ny = parseFloat(y);
      var order = isNaN(nx) || isNaN(ny) ? x.localeCompare(y) : nx - ny;
      return up ? order : -order;
    });
    rows.forEach(function (r) { body.appendChild(r); });
  });
});
)";

void Element(std::string& out, const char* tag, const std::string& text) {
    out.append("<")
        .append(tag)
        .append(">")
        .append(XmlText(text))
        .append("</")
        .append(tag)
        .append(">");
}

void AppendImage(std::string& out, const ReportImage& image, const char* cls) {
    out += "<figure><img class=\"" + std::string(cls) + "\" src=\"" + XmlText(image.file) +
           "\" alt=\"" + XmlText(image.caption) + "\"/>";
    out += "<figcaption>" + XmlText(image.caption) + "</figcaption></figure>\n";
}

void AppendTable(std::string& out, const std::vector<Contact>& contacts) {
    out += "<table class=\"sortable\" id=\"contacts\"><thead><tr>";
    for (const char* h : {"No.", "File", "Ping", "Time (UTC)", "Position", "Latitude", "Longitude",
                          "Side", "Across (m)", "Annotation"}) {
        Element(out, "th", h);
    }
    out += "</tr></thead>\n<tbody>\n";
    for (const Contact& c : contacts) {
        out += Printf("<tr><td><a href=\"#contact-%d\">%d</a></td>", c.number, c.number);
        Element(out, "td", c.file);
        Element(out, "td", std::to_string(c.ping));
        Element(out, "td", c.time);
        Element(out, "td", ShownPosition(c));
        Element(out, "td", c.latitude ? Printf("%.7f", *c.latitude) : "");
        Element(out, "td", c.longitude ? Printf("%.7f", *c.longitude) : "");
        Element(out, "td", SideName(c));
        Element(out, "td", c.acrossM ? Printf("%.1f", *c.acrossM) : "");
        Element(out, "td", c.annotation);
        out += "</tr>\n";
    }
    out += "</tbody></table>\n";
}

void AppendEntry(std::string& out, const Contact& c, const std::vector<ReportImage>& chips) {
    out += Printf("<section class=\"contact\" id=\"contact-%d\">", c.number);
    Element(out, "h3", "Contact " + std::to_string(c.number) + ": " + c.annotation);
    out += "<table class=\"fields\">";
    for (const ContactField& field : ContactFields(c)) {
        out += "<tr>";
        Element(out, "th", field.first);
        Element(out, "td", field.second);
        out += "</tr>";
    }
    out += "</table>\n<div class=\"chips\">\n";
    for (const ReportImage& chip : chips) AppendImage(out, chip, "chip");
    if (chips.empty()) Element(out, "p", "No chip: the ping of the event is not in the file.");
    out += "</div></section>\n";
}

}  // namespace

std::string ContactReportHtml(const ReportContent& content) {
    std::string out =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>"
        "<meta charset=\"utf-8\"/><title>Contact report</title>\n<style>";
    out += kStyle;
    out += "</style></head>\n<body>\n";
    Element(out, "h1", "Contact report");
    std::string files;
    for (const std::string& f : content.recordings) files += (files.empty() ? "" : ", ") + f;
    Element(out, "p", ReportSummary(content) + Utf8OrLatin1(files));
    if (!content.problems.empty()) {
        out += "<ul class=\"problems\">";
        for (const std::string& p : content.problems) Element(out, "li", p);
        out += "</ul>\n";
    }
    Element(out, "h2", "Overview");
    if (!content.overview.file.empty()) AppendImage(out, content.overview, "overview");
    Element(out, "p", content.overviewNote);
    Element(out, "h2", "Contacts");
    AppendTable(out, content.contacts);
    out +=
        "<p><a href=\"contacts.csv\">contacts.csv</a> \u00B7 "
        "<a href=\"contacts.geojson\">contacts.geojson</a></p>\n";
    for (std::size_t i = 0; i < content.contacts.size(); ++i) {
        static const std::vector<ReportImage> none;
        AppendEntry(out, content.contacts[i], i < content.chips.size() ? content.chips[i] : none);
    }
    out += "<script>//<![CDATA[";
    out += kScript;
    out += "//]]></script>\n</body>\n</html>\n";
    return out;
}

}  // namespace svx
