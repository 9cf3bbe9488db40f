#include "dice_app.h"

#include "app_icon.h"
#include "dice_dlg.h"
#include "qt_platform_services.h"

CDiceApp::CDiceApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Alearo"));
    setApplicationVersion(QStringLiteral(ALEARO_VERSION));
    setDesktopFileName(QStringLiteral("org.example.alearo"));
    setWindowIcon(AppIcon());
}

bool CDiceApp::InitInstance() {
    QtPlatformServices services;
    CDiceDlg dialog(services);
    dialog.exec();
    return false;
}
