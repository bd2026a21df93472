// sonvara: the operator's application.

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStringList>

#include <cstdio>

#include "app/ui/AppCommandLine.h"
#include "app/ui/CVantrelApp.h"

namespace {
// The program's icon, drawn here: a sonar fan over the seabed.
QIcon ProgramIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(20, 30, 60));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(2, 2, 60, 60, 10, 10);
    painter.setBrush(QColor(230, 150, 30));
    painter.drawPie(QRectF(6, 10, 52, 52), 40 * 16, 100 * 16);
    painter.setBrush(QColor(250, 250, 0));
    painter.drawEllipse(QPointF(32, 36), 3, 3);
    return QIcon(pixmap);
}

// The command line as text, for parsing before QApplication exists (so that --help needs no
// display).
QStringList Arguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
}  // namespace

int main(int argc, char* argv[]) {
    const AppCommandLine commandLine = ParseAppCommandLine(Arguments(argc, argv));
    switch (commandLine.action) {
        case AppCommandLine::Action::Help:
            std::fputs(qPrintable(commandLine.text), stdout);
            return 0;
        case AppCommandLine::Action::Version:
            std::puts("sonvara " SONVARA_VERSION);
            return 0;
        case AppCommandLine::Action::Mistake:
            std::fprintf(stderr, "sonvara: %s (see sonvara --help)\n",
                         qPrintable(commandLine.text));
            return 2;
        case AppCommandLine::Action::Run:
            break;
    }
    QApplication application(argc, argv);
    CVantrelApp::UsePointDecimals();
    QApplication::setApplicationName(QStringLiteral("Sonvara_RGB"));
    QApplication::setOrganizationName(QStringLiteral("Halvex"));
    QApplication::setWindowIcon(ProgramIcon());
    CVantrelApp app(commandLine.options);
    if (!app.InitInstance()) return 1;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
