#pragma once
// The command line of the application, parsed with QCommandLineParser before any window
// exists: --help and --version print and end the program, a mistake is one line on standard
// error naming the option, and the rest becomes the start-up options.

#include <QString>
#include <QStringList>

struct AppOptions {
    QString settingsPath;      // --settings PATH
    QString connectAddress;    // --connect ADDRESS: pre-fills the Connect dialog
    bool autoConnect = false;  // --yes: answers "YES" to the Connect dialog at start-up
    QString gpsDevice;         // --gps-device PATH: the GPS device of this run
    // --play FILE: plays a recording (.svx) or an XTF file (.xtf) from the start, as
    // "&Playback..." does, instead of connecting to the heads.
    QString playPath;
    // --plan FILE: the survey plan (GPX, KML, CSV) of this run, shown fitted in the plotter;
    // remembered in the settings as one opened from the menu.
    QString planPath;
    // --screenshot FILE [--after SECONDS]: saves a picture of the main window after the given
    // time and quits (for the documentation and for checking what an operator sees).
    QString screenshotPath;
    double screenshotAfterSeconds = 5.0;
    // --zoom fill|100|200 and --layout default|vertical: shortly before the picture is taken
    // every sonar window gets that zoom and the windows that layout (empty: left as they are).
    QString screenshotZoom;
    QString screenshotLayout;
};

struct AppCommandLine {
    enum class Action { Run, Help, Version, Mistake };
    Action action = Action::Run;
    AppOptions options;
    QString text;  // the help or version text, or the mistake (one line)
};

// arguments[0] is the program. Qt's own options (-platform, -style, ...) are let through for
// QApplication.
AppCommandLine ParseAppCommandLine(const QStringList& arguments);
