#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <cstring>

#include "ui/forms/menu_table.h"

namespace alearo {

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
        if (line.shortcut != nullptr) {
            action->setShortcut(QKeySequence(QString::fromLatin1(line.shortcut)));
        }
        action->setObjectName(QStringLiteral("command%1").arg(line.commandId));
        actions.insert(line.commandId, action);
    }
    return actions;
}

}  // namespace alearo
