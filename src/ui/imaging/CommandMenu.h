#pragma once
// Pop-up menus built from a menu description and a command table: each entry's text, enabled
// state and check mark come from the table when the menu is built, and choosing it executes the
// command through the same table.

#include <memory>
#include <vector>

#include "app/MenuLayout.h"

class CommandTable;
class QMenu;
class QWidget;

std::unique_ptr<QMenu> BuildCommandMenu(const std::vector<MenuItem>& items,
                                        const CommandTable& table, QWidget* parent);
