// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QCommandLineParser>
#include <cstring>
#include <memory>

#include "ui/platform/qt_platform_services.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/main_window.h"

namespace {

void SetIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("alearo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ALEARO_VERSION));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Alearo"));
}

// The options are read once a window system is there, except when the
// command line only asks for text: "alearo --help" on a console opens no
// window and needs no display.
bool AsksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

void ReadCommandLine(const QCoreApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "A dice roller for tabletop games, with the exact chance of every total."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(application);  // prints and ends the program for --help and --version
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksOnlyForText(argc, argv)) {
        const QCoreApplication console(argc, argv);
        SetIdentity();
        ReadCommandLine(console);
        return 0;
    }
    QApplication app(argc, argv);
    SetIdentity();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.alearo"));
    QApplication::setWindowIcon(alearo::AppIcon());
    ReadCommandLine(app);

    alearo::QtPlatformServices services;
    alearo::MainWindow window(services);
    // The main window's own loop is the program's: when it closes, the
    // program ends, whatever other window is still open.
    window.exec();
    return 0;
}
