// SPDX-License-Identifier: MIT
#include "ui/windows/app_icon.h"

#include <QGuiApplication>

namespace alearo {

QIcon AppIcon() {
    // The program hands the icon to the application first; every window
    // after that shares the copy already decoded.
    if (QIcon shared = QGuiApplication::windowIcon(); !shared.isNull()) {
        return shared;
    }
    // Every size of a window icon is decoded and handed to the window system
    // at each start. Sizes above 64 pixels would cost more than all the
    // others together, for a picture that launchers take from the installed
    // theme icon instead.
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace alearo
