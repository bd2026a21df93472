#include "app/ui/CVantrelApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMdiArea>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

#include "app/ScreenImageFormat.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ScreenImage.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"
#include "shell/CommandIds.h"
#include "shell/ProfileFile.h"
#include "ui/imaging/CSecondView.h"

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
    return ParseAppCommandLine(arguments).options;
}

QString CVantrelApp::DefaultSettingsPath() {
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(programDir).isWritable()) return programDir + QStringLiteral("/Sonvara_RGB.ini");
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configDir);
    return configDir + QStringLiteral("/Sonvara_RGB.ini");
}

void CVantrelApp::UsePointDecimals() {
    QLocale::setDefault(QLocale::c());
}

bool CVantrelApp::InitInstance() {
    platform = std::make_unique<QtPlatform>();
    doc = std::make_unique<CVantrelDoc>(*platform);
    const QString settingsPath =
        options.settingsPath.isEmpty() ? DefaultSettingsPath() : options.settingsPath;
    doc->SetStartupOptions({settingsPath.toStdString(), options.gpsDevice.toStdString()});
    frame = std::make_unique<CMainFrame>(*doc);
    platform->SetDialogParent(frame.get());
    CVantrelDoc* document = doc.get();
    gpsReader = std::make_unique<QtGpsReader>(doc->gps, [document] { document->GpsReadDone(); });
    doc->SetGpsReader(gpsReader.get());
    frame->show();
    doc->SetLayoutMetrics(frame->MeasureLayout());
    doc->LoadSettings();
    frame->SettingsLoaded();
    if (!doc->iniPath.empty()) doc->LoadPaletteSettings(ProfileFile(doc->iniPath));
    frame->CreatePaletteWindow();
    // The plan of the command line, else the one the settings remember; one that cannot be
    // read says why (file and line), as from the menu.
    if (!options.planPath.isEmpty()) {
        if (doc->LoadSurveyPlan(options.planPath.toStdString())) frame->Commands().Execute(kCmdFitPlan);
    } else {
        doc->ReloadSurveyPlan();
    }
    // The address given on the command line pre-fills the Connect dialog.
    if (!options.connectAddress.isEmpty()) {
        doc->SetConnectAddress(options.connectAddress.toStdString());
    }
    if (options.autoConnect) platform->AnswerNextConnectDialog(true);
    // A file to play needs no heads: the operator connects later from the menu if wanted.
    // A file that cannot be played says why, as from the open dialog, and leaves the
    // program waiting for the operator.
    if (options.playPath.isEmpty()) {
        doc->ConnectToSonarHead();
    } else {
        doc->OpenPlaybackFile(options.playPath.toStdString());
    }
    if (!options.screenshotPath.isEmpty()) ScheduleScreenshot();
    return true;
}

void CVantrelApp::ArrangeForScreenshot() {
    if (options.screenshotLayout == QLatin1String("vertical")) {
        frame->Commands().Execute(kCmdVerticalScroll);
    } else if (options.screenshotLayout == QLatin1String("default")) {
        frame->Commands().Execute(kCmdDefaultLayout);
    }
    const QString& zoom = options.screenshotZoom;
    const int command = zoom == QLatin1String("fill")  ? kCmdFillScreen
                        : zoom == QLatin1String("100") ? kCmdZoom100
                        : zoom == QLatin1String("200") ? kCmdZoom200
                                                       : 0;
    if (command == 0) return;
    for (CSecondView* view : frame->Mdi()->findChildren<CSecondView*>()) {
        view->Commands().Execute(command);
        // A zoomed picture shows where the seabed begins on the starboard side, 10 m from the
        // nadir at the default 50 m range, rather than the empty water column under the boat.
        SonarViewState& state = view->State();
        const int centre = state.imageWidth * 3 / 5;
        state.scrollX = state.savedScrollX = std::max(0, centre - view->width() / 2);
        view->update();
    }
}

void CVantrelApp::ScheduleScreenshot() {
    const int delayMs = static_cast<int>(options.screenshotAfterSeconds * 1000);
    // The windows exist once the heads have answered; the image is re-drawn from the history
    // at the new zoom well before the picture.
    constexpr int kArrangeBeforeMs = 2000;
    QTimer::singleShot(std::max(0, delayMs - kArrangeBeforeMs), frame.get(),
                       [this] { ArrangeForScreenshot(); });
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
        // The Save Screen command's writer: the extension picks the format.
        const ScreenWriteResult result =
            WriteScreenImage(picture.toImage(), options.screenshotPath.toStdString());
        const bool saved = result.outcome == ScreenWrite::Saved;
        if (result.outcome == ScreenWrite::InvalidFormat) {
            qWarning("%s: %s", kInvalidFileFormat, qPrintable(options.screenshotPath));
        } else if (!saved) {
            qWarning("%s %s", kCantSaveScreen, result.path.c_str());
        }
        frame->close();
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

int CVantrelApp::ExitInstance() {
    return 0;
}
