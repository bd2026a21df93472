#pragma once
// The application object: starts the system in order (platform, window kinds, main frame,
// document, settings, the Connect dialog) and ends it.

#include <QString>
#include <memory>

class CMainFrame;
class CVantrelDoc;
class QtGpsReader;
class QtPlatform;

struct AppOptions {
    QString settingsPath;    // --settings PATH
    QString connectAddress;  // --connect ADDRESS: pre-fills the Connect dialog
    bool autoConnect = false;  // --yes: answers "YES" to the Connect dialog at start-up
    // --screenshot FILE [--after SECONDS]: saves a picture of the main window after the given
    // time and quits (for the documentation and for checking what an operator sees).
    QString screenshotPath;
    double screenshotAfterSeconds = 5.0;
};

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

    static AppOptions ParseArguments(const QStringList& arguments);
    // The settings file: the program's directory when writable, else the per-user
    // configuration directory.
    static QString DefaultSettingsPath();

private:
    void ScheduleScreenshot();

    AppOptions options;
    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<CVantrelDoc> doc;
    std::unique_ptr<QtGpsReader> gpsReader;
    std::unique_ptr<CMainFrame> frame;
};
