// SPDX-License-Identifier: MIT
// The program's own start, as its main() runs it, ending at the first frame
// of the main window.
#include <QApplication>

#include "exit_at_first_frame.h"
#include "ui/platform/qt_platform_services.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/main_window.h"

int main(int argc, char** argv) {
    ExitAtFirstFrame<QApplication> app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Alearo"));
    QApplication::setWindowIcon(alearo::AppIcon());
    alearo::QtPlatformServices services;
    alearo::MainWindow window(services);
    window.exec();
    return EXIT_FAILURE;  // the window closed without ever being painted
}
