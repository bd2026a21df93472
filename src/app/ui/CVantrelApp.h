#pragma once
// The application object: starts the system in order (platform, window kinds, main frame,
// document, settings, the Connect dialog) and ends it.

#include <QString>
#include <memory>

#include "app/ui/AppCommandLine.h"

class CMainFrame;
class CVantrelDoc;
class QtGpsReader;
class QtPlatform;

class CVantrelApp {
public:
    explicit CVantrelApp(AppOptions options);
    ~CVantrelApp();

    // Start-up; returns false when the application cannot start.
    bool InitInstance();
    int ExitInstance();

    CVantrelDoc& Document() { return *doc; }
    CMainFrame& MainFrame() { return *frame; }
    QtPlatform& Platform() { return *platform; }

    // The start-up options of a command line (see ParseAppCommandLine for help and mistakes).
    static AppOptions ParseArguments(const QStringList& arguments);
    // The settings file: the program's directory when writable, else the per-user
    // configuration directory.
    static QString DefaultSettingsPath();
    // Numbers on the screen and in number fields keep the forms the program gives them ("2.5
    // m", not "2,5 m") whatever the operator's locale, as the files the program writes do.
    // Called once the QApplication exists.
    static void UsePointDecimals();

private:
    void ScheduleScreenshot();
    // Applies --zoom and --layout to the sonar windows.
    void ArrangeForScreenshot();

    AppOptions options;
    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<CVantrelDoc> doc;
    std::unique_ptr<QtGpsReader> gpsReader;
    std::unique_ptr<CMainFrame> frame;
};
