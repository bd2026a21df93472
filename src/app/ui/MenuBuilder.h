#pragma once
// Turns the menu data into Qt menus whose actions run commands through the router, and keeps
// every action's enabled / checked state and text in step with the command table.

#include <QHash>
#include <QObject>

#include "app/MenuLayout.h"
#include "shell/CommandTable.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class MenuBuilder : public QObject {
    Q_OBJECT
public:
    MenuBuilder(const CommandRouter& router, QObject* parent);

    // Replaces the contents of the menu bar with the given menus.
    void Fill(QMenuBar* bar, const MenuBar& menus);
    // Fills a pop-up menu (context menus).
    void Fill(QMenu* menu, const std::vector<MenuItem>& items);
    // The action of a command (created on first use; shared by menus and the tool bar).
    QAction* Action(int id);
    // Refreshes every action from the command table.
    void RefreshAll();

Q_SIGNALS:
    // A command ran; the frame refreshes what depends on it.
    void CommandRan(int id);

private:
    void Refresh(QAction* action, int id);
    void RefreshMenu(QMenu* menu);

    const CommandRouter& router;
    QHash<int, QAction*> actions;
    QHash<int, QString> baseTexts;
};
