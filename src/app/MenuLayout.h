#pragma once
// The menus of the main window as data: the start-up menu (resource 129), the menu once the
// configuration is applied (resource 137) and the side-scan views' context menu. The Qt layer
// turns them into QMenus; tests check their texts and identifiers.

#include <string>
#include <vector>

struct MenuItem {
    std::string text;  // "&Hold"; a tab separates the key hint: "&Playback...\tCtrl+O"
    int id = 0;        // command identifier; 0 for a popup or a separator
    std::vector<MenuItem> children;
    bool separator = false;

    bool IsPopup() const { return !children.empty(); }
};

using MenuBar = std::vector<MenuItem>;

MenuBar StartupMenu();     // resource 129
MenuBar ConfiguredMenu();  // resource 137
std::vector<MenuItem> SideScanContextMenu();

// The color-table entries 32891..32900 in order.
std::vector<MenuItem> ColorTableItems();
// The "&Color Table" pop-up: the ten tables, then "Custom &Palette..." (the palette editor).
std::vector<MenuItem> ColorTableMenu();

// Every command identifier reachable in a menu tree, depth first.
std::vector<int> CommandIdsOf(const std::vector<MenuItem>& items);
// The text of the command in the tree, or empty.
std::string TextOf(const std::vector<MenuItem>& items, int id);
