// sonvara-cli report as a process on a recording of the simulator with events on its seabed
// targets: every contact listed where --describe placed its target, its chip showing it, the
// HTML well-formed with its texts escaped, the PDF holding every contact.

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../support/TempDir.h"
#include "ProcessSupport.h"
#include "SimulatedContacts.h"
#include "datafiles/EventFile.h"

namespace {

using namespace simcontacts;

constexpr int kRecords = 400;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QByteArray ReadAll(const std::string& path) {
    QFile file(Q(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The brightest and darkest luminance in the middle of a chip (a tenth of its side around the
// centre, 2.5 m at the default chip): a target there shows its echo, bright, and its acoustic
// shadow, black, beside it; the open seabed neither.
struct Middle {
    int brightest = 0, darkest = 255;
};
Middle MiddleOf(const QImage& chip) {
    Middle m;
    const int c = chip.width() / 2, r = chip.width() / 10;
    for (int y = c - r; y <= c + r; ++y) {
        for (int x = c - r; x <= c + r; ++x) {
            const int v = qGray(chip.pixel(x, y));
            m.brightest = std::max(m.brightest, v);
            m.darkest = std::min(m.darkest, v);
        }
    }
    return m;
}
constexpr int kEcho = 190;   // at least, in the target's highlight
constexpr int kShadow = 30;  // at most, in its shadow

class ContactReportTool : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        recording = dir->File("survey.svx");
        const ProgramRun sim = RunProgram(
            SONVARA_HEADSIM_PATH, {"--write-recording", Q(recording), QString::number(kRecords)});
        ASSERT_EQ(sim.exitCode, 0) << sim.err.toStdString();
        const ProgramRun describe = RunProgram(SONVARA_HEADSIM_PATH, {"--describe"});
        ASSERT_EQ(describe.exitCode, 0);
        described = ParseDescribe(QString::fromUtf8(describe.out));
        placed = EventsOnTargets(kRecords);
        EventList list;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            placed[i].event.number = static_cast<int>(i) + 1;
            placed[i].event.annotation = StoredAnnotation(Annotation(static_cast<int>(i)));
            list.Append(placed[i].event);
        }
        // A control: open seabed, where the chip must show no target.
        control = Event(static_cast<int>(placed.size()) + 1, 60, 0.5 + 0.7 / 2, "open seabed");
        list.Append(control);
        list.SortByPing();
        std::ofstream(dir->File("survey.an"), std::ios::binary) << FormatEventList(list);
        run = RunProgram(SONVARA_CLI_PATH, {"report", Q(recording), "--html", Q(dir->File("out")),
                                            "--pdf", Q(dir->File("out.pdf"))});
    }
    static void TearDownTestSuite() { delete dir; }

    // Each annotation has markup characters and text beyond ASCII.
    static std::string Annotation(int i) {
        return "Ziel " + std::to_string(i + 1) +
               " <box> & \xC3\xBC"
               "ber 2 m";
    }
    static std::string Out(const std::string& name) { return dir->File("out/" + name); }
    // "chips/contact-002": contacts are numbered in the order of the event file, by ping.
    static std::string ChipStem(int ping) {
        int number = ping > control.pingNumber ? 2 : 1;
        for (const PlacedEvent& p : placed) number += p.event.pingNumber < ping ? 1 : 0;
        return "chips/contact-" + QString::number(number).rightJustified(3, '0').toStdString();
    }

    static TempDir* dir;
    static std::string recording;
    static std::vector<DescribedTarget> described;
    static std::vector<PlacedEvent> placed;
    static EventRecord control;
    static ProgramRun run;
};
TempDir* ContactReportTool::dir = nullptr;
std::string ContactReportTool::recording;
std::vector<DescribedTarget> ContactReportTool::described;
std::vector<PlacedEvent> ContactReportTool::placed;
EventRecord ContactReportTool::control;
ProgramRun ContactReportTool::run;

TEST_F(ContactReportTool, EveryTargetIsListedWhereTheSimulatorPlacedIt) {
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The first leg passes three targets: two to port, one to starboard.
    ASSERT_EQ(placed.size(), 3u);
    const QJsonArray features =
        QJsonDocument::fromJson(ReadAll(Out("contacts.geojson")))["features"].toArray();
    ASSERT_EQ(features.size(), static_cast<int>(placed.size()) + 1);
    for (const PlacedEvent& p : placed) {
        const auto feature = std::find_if(features.begin(), features.end(), [&](const auto& f) {
            return f.toObject()["properties"].toObject()["event"].toInt() == p.event.number;
        });
        ASSERT_NE(feature, features.end()) << p.event.number;
        const QJsonArray at = feature->toObject()["geometry"].toObject()["coordinates"].toArray();
        ASSERT_EQ(at.size(), 2);
        const DescribedTarget& t = described.at(static_cast<std::size_t>(p.target));
        EXPECT_LT(MetresBetween(t.latitude, t.longitude, at[1].toDouble(), at[0].toDouble()), 2.0)
            << "event " << p.event.number << " at ping " << p.event.pingNumber;
        const QJsonObject props = feature->toObject()["properties"].toObject();
        EXPECT_EQ(props["side"].toString(), p.acrossM > 0 ? "starboard" : "port");
        EXPECT_NEAR(props["across_m"].toDouble(), std::fabs(p.acrossM), 1.0);
        EXPECT_EQ(props["annotation"].toString().toStdString(), Annotation(p.event.number - 1));
    }
}

TEST_F(ContactReportTool, EachChipShowsItsTargetAndTheControlShowsNone) {
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const PlacedEvent& p : placed) {
        const std::string stem = ChipStem(p.event.pingNumber);
        const QImage chip(Q(Out(stem + ".png")));
        ASSERT_EQ(chip.width(), 256) << stem;
        const Middle m = MiddleOf(chip);
        EXPECT_GE(m.brightest, kEcho) << stem;
        EXPECT_LE(m.darkest, kShadow) << stem;
        for (const char* head : {"-L", "-M", "-H"}) {
            EXPECT_TRUE(std::filesystem::exists(Out(stem + head + ".png"))) << stem << head;
        }
    }
    const QImage chip(Q(Out(ChipStem(control.pingNumber) + ".png")));
    ASSERT_FALSE(chip.isNull());
    const Middle m = MiddleOf(chip);
    EXPECT_LT(m.brightest, kEcho);
    EXPECT_GT(m.darkest, kShadow);
    const QByteArray csv = ReadAll(Out("contacts.csv"));
    EXPECT_EQ(csv.count('\n'), static_cast<int>(placed.size()) + 2);  // header and every contact
}

TEST_F(ContactReportTool, TheHtmlIsWellFormedAndShowsTheAnnotationsAsTyped) {
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray html = ReadAll(Out("index.html"));
    QXmlStreamReader xml(html);
    QStringList texts, links, ids;
    int rows = 0;
    bool inBody = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"tbody") inBody = true;
        if (xml.isEndElement() && xml.name() == u"tbody") inBody = false;
        if (xml.isStartElement() && xml.name() == u"tr" && inBody) ++rows;
        for (const char* attribute : {"src", "href", "id"}) {
            if (!xml.isStartElement() || !xml.attributes().hasAttribute(attribute)) continue;
            (attribute[0] == 'i' ? ids : links) << xml.attributes().value(attribute).toString();
        }
        if (xml.isCharacters()) texts << xml.text().toString();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                                 << xml.lineNumber();
    EXPECT_EQ(rows, static_cast<int>(placed.size()) + 1);
    const QString all = texts.join('\n');
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_TRUE(all.contains(QString::fromUtf8(Annotation(static_cast<int>(i))))) << i;
    }
    EXPECT_FALSE(html.contains("<box>"));
    // Self-contained: every link to a place on the page or a file beside it.
    EXPECT_GT(links.size(), 3 * static_cast<int>(placed.size()));
    for (const QString& link : links) {
        const bool found = link.startsWith('#') ? ids.contains(link.mid(1))
                                                : QFile::exists(Q(Out(link.toStdString())));
        EXPECT_TRUE(found) << link.toStdString();
    }
}

TEST_F(ContactReportTool, ThePdfHoldsEveryContactsNumberAndAnnotation) {
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const ProgramRun text = RunProgram(pdftotext, {Q(dir->File("out.pdf")), "-"});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QString pages = QString::fromUtf8(text.out);
    for (std::size_t i = 0; i <= placed.size(); ++i) {
        EXPECT_TRUE(pages.contains("Contact " + QString::number(i + 1) + ":")) << i + 1;
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_TRUE(pages.contains(QString::fromUtf8(Annotation(static_cast<int>(i))))) << i;
    }
}

}  // namespace
