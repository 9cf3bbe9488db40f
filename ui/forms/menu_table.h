#pragma once

#include <QHash>
#include <vector>

class QAction;
class QMenuBar;

namespace alearo {

// One line of a menu: an item (with its command id), or a separator when the
// item text is null. Items with a submenu name sit in that submenu of the menu.
struct MenuLine {
    const char* menu;
    const char* submenu;  // null for an item of the menu itself
    const char* item;     // null for a separator
    int commandId;
    bool checkable;
    const char* shortcut = nullptr;  // shown beside the item, which it triggers
};

// Fills `bar` from `lines`; returns the actions by command id.
QHash<int, QAction*> BuildMenu(const std::vector<MenuLine>& lines, QMenuBar* bar);

}  // namespace alearo
