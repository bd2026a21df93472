#include "app/ui/MenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

MenuBuilder::MenuBuilder(const CommandRouter& routerRef, QObject* parent)
    : QObject(parent), router(routerRef) {}

QAction* MenuBuilder::Action(int id) {
    if (QAction* existing = actions.value(id)) return existing;
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] {
        router.Execute(id);
        Q_EMIT CommandRan(id);
    });
    actions.insert(id, action);
    return action;
}

void MenuBuilder::Fill(QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            Fill(menu->addMenu(QString::fromStdString(item.text)), item.children);
        } else {
            // The text after a tab is the key hint; Qt shows it from the action's shortcut,
            // which the accelerator table sets.
            const QString full = QString::fromStdString(item.text);
            QAction* action = Action(item.id);
            const QString text = full.section(QLatin1Char('\t'), 0, 0);
            baseTexts.insert(item.id, text);
            action->setText(text);
            menu->addAction(action);
            Refresh(action, item.id);
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshMenu(menu); });
}

void MenuBuilder::Fill(QMenuBar* bar, const MenuBar& menus) {
    bar->clear();
    for (const MenuItem& top : menus) {
        Fill(bar->addMenu(QString::fromStdString(top.text)), top.children);
    }
}

void MenuBuilder::Refresh(QAction* action, int id) {
    const CommandState state = router.State(id);
    action->setEnabled(state.enabled);
    const bool checkable = state.checked || action->isCheckable();
    action->setCheckable(checkable);
    if (checkable) action->setChecked(state.checked);
    const QString text =
        state.text.empty() ? baseTexts.value(id, action->text()) : QString::fromStdString(state.text);
    if (action->text() != text) action->setText(text);
}

void MenuBuilder::RefreshMenu(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (action->menu() || action->isSeparator()) continue;
        Refresh(action, action->data().toInt());
    }
}

void MenuBuilder::RefreshAll() {
    for (auto it = actions.begin(); it != actions.end(); ++it) Refresh(it.value(), it.key());
}
