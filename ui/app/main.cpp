// SPDX-License-Identifier: MIT
#include <QApplication>

#include "ui/platform/qt_platform_services.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Alearo"));
    QApplication::setApplicationVersion(QStringLiteral(ALEARO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.alearo"));
    QApplication::setWindowIcon(alearo::AppIcon());

    alearo::QtPlatformServices services;
    alearo::MainWindow window(services);
    // The main window's own loop is the program's: when it closes, the
    // program ends, whatever other window is still open.
    window.exec();
    return 0;
}
