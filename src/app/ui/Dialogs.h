#pragma once
// Small modal dialogs of the main window: About and the hot-key list.

#include <QDialog>

class QTreeWidget;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
    static const char* VersionText();
};

class CHelpListDlg : public QDialog {
    Q_OBJECT
public:
    explicit CHelpListDlg(QWidget* parent);
    QTreeWidget* List() const { return list; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTreeWidget* list;
};
