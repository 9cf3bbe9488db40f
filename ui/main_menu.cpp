#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <cstring>

#include "menu_table.h"

const std::vector<MenuLine>& MainMenuLines() {
    using namespace command_id;
    static const std::vector<MenuLine> lines{
        {"&Alearo", nullptr, "&Roll", kRoll, false},
        {"&Alearo", nullptr, "&Clear Entries", kClearEntries, false},
        {"&Alearo", nullptr, nullptr, 0, false},
        {"&Alearo", "&Print Results...", "Send to Printer", kSendToPrinter, false},
        {"&Alearo", "&Print Results...", "Send to Printer via Notepad", kSendToPrinterViaNotepad,
         false},
        {"&Alearo", "&Output To File...", "Results in Normal Format", kResultsNormalFormat, false},
        {"&Alearo", "&Output To File...", "Results with No Text", kResultsNoText, false},
        {"&Alearo", nullptr, nullptr, 0, false},
        {"&Alearo", nullptr, "E&xit", kExit, false},
        {"&Settings", nullptr, "Disable \"Instant Update\"", kNoInstantUpdate, true},
        {"&Settings", nullptr, "Disable Rolls Less Than 1", kNoRollsBelowOne, true},
        {"&Settings", nullptr, "Throw Out Lowest Roll", kDropLowest, true},
        {"&Help", nullptr, "&Contents        F1", kHelpContents, false},
        {"&Help", nullptr, "Alearo Website", kWebsite, false},
        {"&Help", nullptr, nullptr, 0, false},
        {"&Help", nullptr, "&About Alearo", kAbout, false},
    };
    return lines;
}

QHash<int, QAction*> BuildMenu(const std::vector<MenuLine>& lines, QMenuBar* bar) {
    QHash<int, QAction*> actions;
    QMenu* menu = nullptr;
    const char* menuTitle = nullptr;
    QMenu* submenu = nullptr;
    const char* submenuTitle = nullptr;

    for (const MenuLine& line : lines) {
        if (menuTitle == nullptr || std::strcmp(menuTitle, line.menu) != 0) {
            menu = bar->addMenu(QString::fromLatin1(line.menu));
            menuTitle = line.menu;
            submenu = nullptr;
            submenuTitle = nullptr;
        }
        QMenu* target = menu;
        if (line.submenu != nullptr) {
            if (submenuTitle == nullptr || std::strcmp(submenuTitle, line.submenu) != 0) {
                submenu = menu->addMenu(QString::fromLatin1(line.submenu));
                submenuTitle = line.submenu;
            }
            target = submenu;
        } else {
            submenu = nullptr;
            submenuTitle = nullptr;
        }
        if (line.item == nullptr) {
            target->addSeparator();
            continue;
        }
        QAction* action = target->addAction(QString::fromLatin1(line.item));
        action->setData(line.commandId);
        action->setCheckable(line.checkable);
        action->setObjectName(QStringLiteral("command%1").arg(line.commandId));
        actions.insert(line.commandId, action);
    }
    return actions;
}
