// sonvara: the operator's application.

#include <QApplication>

#include "app/ui/CVantrelApp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonvara_RGB"));
    QApplication::setOrganizationName(QStringLiteral("Halvex"));
    CVantrelApp app(CVantrelApp::ParseArguments(QApplication::arguments()));
    if (!app.InitInstance()) return 1;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
