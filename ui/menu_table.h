#pragma once

#include <QHash>
#include <vector>

class QAction;
class QMenuBar;

// One line of a menu: an item (with its command id), or a separator when the
// item text is null. Items with a submenu name sit in that submenu of the menu.
struct MenuLine {
    const char* menu;
    const char* submenu;  // null for an item of the menu itself
    const char* item;     // null for a separator
    int commandId;
    bool checkable;
};

// Menu command ids of the main window.
namespace command_id {
inline constexpr int kHelpContents = 32771;
inline constexpr int kAbout = 32772;
inline constexpr int kRoll = 32773;
inline constexpr int kClearEntries = 32774;
inline constexpr int kExit = 32778;
inline constexpr int kNoInstantUpdate = 32780;
inline constexpr int kNoRollsBelowOne = 32783;
inline constexpr int kDropLowest = 32784;
inline constexpr int kWebsite = 32787;
inline constexpr int kSendToPrinter = 32788;
inline constexpr int kSendToPrinterViaNotepad = 32789;
inline constexpr int kResultsNormalFormat = 32790;
inline constexpr int kResultsNoText = 32791;
}  // namespace command_id

// The main window's menu bar, in display order.
const std::vector<MenuLine>& MainMenuLines();

// Fills `bar` from `lines`; returns the actions by command id.
QHash<int, QAction*> BuildMenu(const std::vector<MenuLine>& lines, QMenuBar* bar);
