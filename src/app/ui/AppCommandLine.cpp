#include "app/ui/AppCommandLine.h"

#include <QCommandLineParser>

#include <cmath>
#include <filesystem>

#include "common/RegularFile.h"

namespace {

// A settings file that exists must be a regular file: reading a FIFO would wait for ever
// before any window appears. A missing one is made when the settings are saved.
QString SettingsFileProblem(const QString& path) {
    if (path.isEmpty()) return {};
    const std::string name = path.toStdString();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) return {};
    return QString::fromStdString(RegularFileProblem(name));
}

QCommandLineOption Hidden(const QStringList& names, const QString& valueName = {}) {
    QCommandLineOption option(names, QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

// The options QApplication takes for itself; they reach it untouched.
void AddQtOptions(QCommandLineParser& parser) {
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "style", "stylesheet",
          "qwindowgeometry", "qwindowtitle", "qwindowicon", "display", "geometry", "session"}) {
        parser.addOption(Hidden({QString::fromLatin1(name)}, QStringLiteral("value")));
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        parser.addOption(Hidden({QString::fromLatin1(name)}));
    }
}

const QCommandLineOption kSettings(
    {QStringLiteral("settings")},
    QStringLiteral("Settings file (default: Sonvara_RGB.ini beside "
                   "the program, else in the user's configuration)."),
    QStringLiteral("PATH"));
const QCommandLineOption kConnect({QStringLiteral("connect")},
                                  QStringLiteral("Address of the installation's first head; "
                                                 "pre-fills the Connect dialog."),
                                  QStringLiteral("ADDRESS"));
const QCommandLineOption kGpsDevice(
    {QStringLiteral("gps-device")},
    QStringLiteral("Read the GPS from this device (a serial port or a pseudo-terminal) instead "
                   "of the \"GPS Device\" setting, for this run; the settings file keeps its "
                   "own."),
    QStringLiteral("PATH"));
const QCommandLineOption kPlay({QStringLiteral("play")},
                               QStringLiteral("Play a recording (.svx) or an XTF file (.xtf) "
                                              "instead of connecting to the heads."),
                               QStringLiteral("FILE"));
const QCommandLineOption kPlan({QStringLiteral("plan")},
                               QStringLiteral("Open a survey plan (GPX, KML or CSV lines) and show "
                                              "it in the track plotter."),
                               QStringLiteral("FILE"));
const QCommandLineOption kYes({QStringLiteral("yes")},
                              QStringLiteral("Answer \"YES\" to the Connect dialog at start-up."));
const QCommandLineOption kScreenshot(
    {QStringLiteral("screenshot")},
    QStringLiteral("Save a picture of the main window to FILE and quit; its "
                   "extension picks the format (bmp, gif, jpg, tif or png)."),
    QStringLiteral("FILE"));
const QCommandLineOption kAfter({QStringLiteral("after")},
                                QStringLiteral("Seconds before the screenshot (default 5)."),
                                QStringLiteral("SECONDS"));

const QCommandLineOption kZoom({QStringLiteral("zoom")},
                               QStringLiteral("Zoom of every sonar window before the screenshot "
                                              "(fill, 100 or 200)."),
                               QStringLiteral("MODE"));
const QCommandLineOption kLayout({QStringLiteral("layout")},
                                 QStringLiteral("Layout of the sonar windows before the "
                                                "screenshot (default or vertical)."),
                                 QStringLiteral("LAYOUT"));

AppCommandLine Mistake(const QString& text) {
    AppCommandLine result;
    result.action = AppCommandLine::Action::Mistake;
    result.text = text;
    return result;
}

}  // namespace

AppCommandLine ParseAppCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sonvara: the operator's application for a multi-frequency side-scan "
                       "sonar.\nExit status: 0 after a normal end, 1 when it cannot start, 2 "
                       "for a mistake on the command line."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({kSettings, kConnect, kGpsDevice, kPlay, kPlan, kYes, kScreenshot, kAfter, kZoom, kLayout});
    AddQtOptions(parser);
    if (!parser.parse(arguments)) return Mistake(parser.errorText());
    AppCommandLine result;
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = AppCommandLine::Action::Help;
        // Without an application object the parser does not know the program's name.
        result.text = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                QStringLiteral("sonvara"));
        return result;
    }
    if (parser.isSet(version)) {
        result.action = AppCommandLine::Action::Version;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Mistake(QStringLiteral("unexpected argument '%1'")
                           .arg(parser.positionalArguments().constFirst()));
    }
    AppOptions& o = result.options;
    o.settingsPath = parser.value(kSettings);
    if (const QString problem = SettingsFileProblem(o.settingsPath); !problem.isEmpty()) {
        return Mistake(QStringLiteral("--settings: %1").arg(problem));
    }
    o.connectAddress = parser.value(kConnect);
    o.autoConnect = parser.isSet(kYes);
    o.gpsDevice = parser.value(kGpsDevice);
    if (parser.isSet(kGpsDevice) && o.gpsDevice.isEmpty()) {
        return Mistake(QStringLiteral("--gps-device wants a device path"));
    }
    o.playPath = parser.value(kPlay);
    if (parser.isSet(kPlay) && o.playPath.isEmpty()) {
        return Mistake(QStringLiteral("--play wants a file (.svx or .xtf)"));
    }
    o.planPath = parser.value(kPlan);
    if (parser.isSet(kPlan) && o.planPath.isEmpty()) {
        return Mistake(QStringLiteral("--plan wants a plan file (.gpx, .kml or .csv)"));
    }
    o.screenshotPath = parser.value(kScreenshot);
    o.screenshotZoom = parser.value(kZoom);
    o.screenshotLayout = parser.value(kLayout);
    const QStringList zooms{QStringLiteral("fill"), QStringLiteral("100"), QStringLiteral("200")};
    if (parser.isSet(kZoom) && !zooms.contains(o.screenshotZoom)) {
        return Mistake(
            QStringLiteral("--zoom wants fill, 100 or 200, not '%1'").arg(o.screenshotZoom));
    }
    const QStringList layouts{QStringLiteral("default"), QStringLiteral("vertical")};
    if (parser.isSet(kLayout) && !layouts.contains(o.screenshotLayout)) {
        return Mistake(
            QStringLiteral("--layout wants default or vertical, not '%1'").arg(o.screenshotLayout));
    }
    if (parser.isSet(kAfter)) {
        bool ok = false;
        o.screenshotAfterSeconds = parser.value(kAfter).toDouble(&ok);
        if (!ok || !std::isfinite(o.screenshotAfterSeconds) || o.screenshotAfterSeconds < 0) {
            return Mistake(QStringLiteral("--after wants a number of seconds, not '%1'")
                               .arg(parser.value(kAfter)));
        }
    }
    return result;
}
