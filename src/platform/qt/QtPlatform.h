#pragma once
// The platform of the application on Qt: QtHeadlessPlatform's timers, head sockets and clock,
// with the operator's dialogs on Qt Widgets and sounds through QSoundEffect.
//
// Threads: every function is called on the user-interface thread, and the timers and socket
// notifications it delivers arrive there through the event loop.
//
// Headless mode (tests): no window is ever shown; it behaves as QtHeadlessPlatform (message
// boxes to the sink, the Connect dialog from the preset, file dialogs cancelled) and needs only
// a QCoreApplication.

#include <memory>

#include "platform/qt/QtHeadlessPlatform.h"

class QSoundEffect;
class QWidget;

class QtPlatform : public QtHeadlessPlatform {
public:
    enum class Mode { Interactive, Headless };

    explicit QtPlatform(Mode mode = Mode::Interactive);
    ~QtPlatform() override;

    Mode GetMode() const { return mode; }
    // The window dialogs are centred on (the main frame); may be null.
    void SetDialogParent(QWidget* parent) { dialogParent = parent; }
    // Interactive: the next Connect dialog is answered without being shown (the application's
    // --yes option); later ones are shown.
    void AnswerNextConnectDialog(bool yes) { nextConnectAnswer = yes ? 1 : 0; }

    void MessageBox(const std::string& text) override;
    bool YesNoBox(const std::string& text) override;
    bool ConnectDialog(std::string& address) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    std::vector<std::string> OpenFilesDialog(const FileDialogRequest& request) override;

    // Plays the wave file without waiting; a missing file or audio device means silence.
    void PlaySound(const std::string& path) override;

private:
    Mode mode;
    QWidget* dialogParent = nullptr;
    int nextConnectAnswer = -1;
    std::unique_ptr<QSoundEffect> sound;
};
