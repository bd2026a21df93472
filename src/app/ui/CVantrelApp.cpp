#include "app/ui/CVantrelApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include "acquisition/CVantrelDoc.h"
#include "app/ProfileFile.h"
#include "app/ui/CMainFrame.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"

CVantrelApp::CVantrelApp(AppOptions opts) : options(std::move(opts)) {}

CVantrelApp::~CVantrelApp() {
    // The frame observes the document; it goes first.
    frame.reset();
    // The reader thread is joined before the document it decodes into goes away.
    if (doc) doc->SetGpsReader(nullptr);
    gpsReader.reset();
    doc.reset();
    platform.reset();
}

AppOptions CVantrelApp::ParseArguments(const QStringList& arguments) {
    AppOptions parsed;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (arg == QLatin1String("--settings") && hasValue) {
            parsed.settingsPath = arguments[++i];
        } else if (arg == QLatin1String("--connect") && hasValue) {
            parsed.connectAddress = arguments[++i];
        } else if (arg == QLatin1String("--yes")) {
            parsed.autoConnect = true;
        } else if (arg == QLatin1String("--screenshot") && hasValue) {
            parsed.screenshotPath = arguments[++i];
        } else if (arg == QLatin1String("--after") && hasValue) {
            parsed.screenshotAfterSeconds = arguments[++i].toDouble();
        }
    }
    return parsed;
}

QString CVantrelApp::DefaultSettingsPath() {
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(programDir).isWritable()) return programDir + QStringLiteral("/Sonvara_RGB.ini");
    const QString configDir =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configDir);
    return configDir + QStringLiteral("/Sonvara_RGB.ini");
}

bool CVantrelApp::InitInstance() {
    platform = std::make_unique<QtPlatform>();
    doc = std::make_unique<CVantrelDoc>(*platform);
    doc->iniPath = (options.settingsPath.isEmpty() ? DefaultSettingsPath() : options.settingsPath)
                       .toStdString();
    frame = std::make_unique<CMainFrame>(*doc);
    platform->SetDialogParent(frame.get());
    CVantrelDoc* document = doc.get();
    gpsReader = std::make_unique<QtGpsReader>(doc->gps, [document] { document->GpsReadDone(); });
    doc->SetGpsReader(gpsReader.get());
    frame->show();
    doc->display.layout.metrics = frame->MeasureLayout();
    doc->LoadSettings();
    frame->SettingsLoaded();
    if (!doc->iniPath.empty()) doc->LoadPaletteSettings(ProfileFile(doc->iniPath));
    frame->CreatePaletteWindow();
    // The address given on the command line pre-fills the Connect dialog.
    if (!options.connectAddress.isEmpty()) {
        doc->heads[kHeadL].ipAddress = options.connectAddress.toStdString();
    }
    if (options.autoConnect) platform->AnswerNextConnectDialog(true);
    doc->ConnectToSonarHead();
    if (!options.screenshotPath.isEmpty()) ScheduleScreenshot();
    return true;
}

void CVantrelApp::ScheduleScreenshot() {
    const int delayMs = static_cast<int>(options.screenshotAfterSeconds * 1000);
    QTimer::singleShot(delayMs, frame.get(), [this] {
        // What is on the screen where the platform can show it (not a fresh paint of the
        // window, which would hide a window that failed to repaint), else the window itself.
        QPixmap picture;
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            if (QScreen* screen = frame->screen()) {
                const QRect g = frame->frameGeometry();
                picture = screen->grabWindow(0, g.x(), g.y(), g.width(), g.height());
            }
        }
        if (picture.isNull()) picture = frame->grab();
        const bool saved = picture.save(options.screenshotPath);
        if (!saved) qWarning("could not save %s", qPrintable(options.screenshotPath));
        frame->close();
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

int CVantrelApp::ExitInstance() { return 0; }
