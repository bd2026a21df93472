#include "ui/imaging/CommandMenu.h"

#include <QMenu>

#include "shell/CommandTable.h"

namespace {

void Fill(QMenu& menu, const std::vector<MenuItem>& items, const CommandTable& table) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
        } else if (item.IsPopup()) {
            Fill(*menu.addMenu(QString::fromStdString(item.text)), item.children, table);
        } else {
            const CommandState state = table.State(item.id);
            QAction* action = menu.addAction(QString::fromStdString(item.text));
            action->setData(item.id);
            action->setEnabled(state.enabled);
            action->setCheckable(state.checked);
            action->setChecked(state.checked);
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, &menu,
                             [&table, id] { table.Execute(id); });
        }
    }
}

}  // namespace

std::unique_ptr<QMenu> BuildCommandMenu(const std::vector<MenuItem>& items,
                                        const CommandTable& table, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    Fill(*menu, items, table);
    return menu;
}
