#include "platform/qt/QtPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>

#include "platform/qt/ConnectDialog.h"

namespace {

// The start directory of a file dialog with the proposed file name in it.
QString DialogPath(const FileDialogRequest& request) {
    const QString name = QString::fromStdString(request.fileName);
    if (request.directory.empty()) return name;
    return QDir(QString::fromStdString(request.directory)).filePath(name);
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

}  // namespace

QtPlatform::QtPlatform(Mode platformMode) : mode(platformMode) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::MessageBox(const std::string& text) {
    if (mode == Mode::Headless) {
        QtHeadlessPlatform::MessageBox(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, dialogParent);
    box.exec();
}

bool QtPlatform::YesNoBox(const std::string& text) {
    if (mode == Mode::Headless) return QtHeadlessPlatform::YesNoBox(text);
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, dialogParent);
    return box.exec() == QMessageBox::Yes;
}

bool QtPlatform::ConnectDialog(std::string& address) {
    if (mode == Mode::Headless) return QtHeadlessPlatform::ConnectDialog(address);
    if (nextConnectAnswer >= 0) {
        const bool yes = nextConnectAnswer == 1;
        nextConnectAnswer = -1;
        return yes;
    }
    ::ConnectDialog dialog(QString::fromStdString(address), dialogParent);
    const bool yes = dialog.exec() == QDialog::Accepted;
    address = dialog.Address().trimmed().toStdString();
    return yes;
}

std::optional<std::string> QtPlatform::OpenFileDialog(const FileDialogRequest& request) {
    if (mode == Mode::Headless) return std::nullopt;
    return Chosen(QFileDialog::getOpenFileName(dialogParent, QString::fromStdString(request.title),
                                               DialogPath(request),
                                               QString::fromStdString(request.filter)));
}

std::optional<std::string> QtPlatform::SaveFileDialog(const FileDialogRequest& request) {
    if (mode == Mode::Headless) return std::nullopt;
    return Chosen(QFileDialog::getSaveFileName(dialogParent, QString::fromStdString(request.title),
                                               DialogPath(request),
                                               QString::fromStdString(request.filter)));
}

std::vector<std::string> QtPlatform::OpenFilesDialog(const FileDialogRequest& request) {
    if (mode == Mode::Headless) return {};
    std::vector<std::string> paths;
    for (const QString& path : QFileDialog::getOpenFileNames(
             dialogParent, QString::fromStdString(request.title), DialogPath(request),
             QString::fromStdString(request.filter))) {
        paths.push_back(path.toStdString());
    }
    return paths;
}

void QtPlatform::PlaySound(const std::string& path) {
    if (!sound) sound = std::make_unique<QSoundEffect>();
    sound->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    sound->play();
}
