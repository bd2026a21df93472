#pragma once
// Saving a picture of the screen: the capture, the writers of the five formats and the Save
// Screen command's steps (a wait that lets the menu vanish, the capture, the save dialog).

#include <QImage>
#include <QObject>
#include <string>

class CVantrelDoc;
class CommandTable;
class QWidget;

// The primary screen as it shows now. Where the platform cannot read the screen back (the
// offscreen platform) the application's visible windows are drawn at their places instead.
QImage CaptureScreen();

enum class ScreenWrite { Saved, InvalidFormat, Failed };
struct ScreenWriteResult {
    ScreenWrite outcome = ScreenWrite::Failed;
    std::string path;  // the path written (file name lower-cased)
};
// Writes the picture to the chosen path in the format its extension names: BMP, JPEG, PNG and
// TIFF through Qt's image writers, GIF through giflib with a 6x7x6 palette.
ScreenWriteResult WriteScreenImage(const QImage& image, const std::string& chosenPath);
bool WriteGif(const QImage& image, const std::string& path);

// The Save Screen command (32782).
class ScreenSaver : public QObject {
    Q_OBJECT
public:
    ScreenSaver(CVantrelDoc& doc, QObject* parent, int waitMs = 1000);
    // Waits (the event loop runs on), captures, asks for the file and writes it.
    void SaveScreen();
    bool Busy() const { return busy; }

Q_SIGNALS:
    // The command is over: saved, cancelled or refused.
    void Finished(bool saved);

private:
    void CaptureAndSave();
    bool AskAndWrite(const QImage& image);

    CVantrelDoc& doc;
    int waitMs;
    bool busy = false;
};

// Adds command 32782 ("&Save Screen..."): disabled while a save is under way.
void AddSaveScreenCommand(CommandTable& commands, ScreenSaver& saver);
