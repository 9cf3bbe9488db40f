// SPDX-License-Identifier: MIT
// The least a Qt Widgets program does to show a window: an empty dialog,
// run modally as the program runs its main window, ending at its first
// frame. With --label the dialog shows one line of text, which adds what
// any text costs at start (the font configuration and the first font).
// These are the floors that start-up is measured against.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <cstring>

#include "exit_at_first_frame.h"

int main(int argc, char** argv) {
    ExitAtFirstFrame<QApplication> app(argc, argv);
    QDialog dialog;
    dialog.resize(320, 400);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        new QLabel(QStringLiteral("Results"), &dialog);
    }
    dialog.exec();
    return EXIT_FAILURE;  // the window closed without ever being painted
}
