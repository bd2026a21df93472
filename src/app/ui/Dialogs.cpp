#include "app/ui/Dialogs.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/CommandTable.h"

const char* CAboutDlg::VersionText() { return "Sonvara_RGB Version Beta 2.0.0.1  07_MAY_2013"; }

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Sonvara_RGB"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QString::fromLatin1(VersionText()), this);
    title->setObjectName(QStringLiteral("versionText"));
    layout->addWidget(title);
    layout->addWidget(new QLabel(
        QStringLiteral("Operator's program for the networked multi-frequency side-scan sonar."),
        this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    move(700, 500);
}

CHelpListDlg::CHelpListDlg(QWidget* parent) : QDialog(parent), list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("hotKeysDialog"));
    setWindowTitle(QStringLiteral("Hot Keys ..."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Command"), QStringLiteral("Hot Key"),
                           QStringLiteral("Discription")});
    for (const HotKeyRow& row : HotKeyRows()) {
        new QTreeWidgetItem(list, {QString::fromLatin1(row.command), QString::fromLatin1(row.key),
                                   QString::fromLatin1(row.description)});
    }
    list->header()->setStretchLastSection(false);
    resize(560, 200);
}

void CHelpListDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    list->setColumnWidth(0, 70);
    list->setColumnWidth(1, 70);
    list->setColumnWidth(2, std::max(40, width() - 145));
}

void CHelpListDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    list->setColumnWidth(2, std::max(40, list->viewport()->width() - 140 - 5));
}
