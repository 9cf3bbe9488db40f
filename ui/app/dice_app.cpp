#include "ui/app/dice_app.h"

#include "ui/platform/qt_platform_services.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/dice_dlg.h"

namespace alearo {

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

}  // namespace alearo
