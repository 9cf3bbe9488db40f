// SPDX-License-Identifier: MIT
#include "ui/platform/qt_platform_services.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "ui/platform/help_window.h"
#include "ui/platform/print_spooler.h"

namespace alearo {

void QtPlatformServices::showError(QWidget* owner, const QString& text, const QString& reason) {
    QMessageBox box(QMessageBox::Critical,
                    QCoreApplication::translate("PlatformServices", "Error in Alearo.exe"), text,
                    QMessageBox::Ok, owner);
    box.setDetailedText(reason);
    box.exec();
}

void QtPlatformServices::showValidationMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

bool QtPlatformServices::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void QtPlatformServices::showHelp(QWidget* owner, const QString& section) {
    // A child window of the (modal) main window, so that it takes input
    // while the main window is open.
    if (m_helpWindow.isNull()) {
        m_helpWindow = new HelpWindow(owner);
    }
    m_helpWindow->showSection(section);
}

void QtPlatformServices::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString QtPlatformServices::chooseSaveFile(QWidget* owner, const QString& caption,
                                           const QString& suggestedName, const QString& filter) {
    return QFileDialog::getSaveFileName(owner, caption, suggestedName, filter);
}

std::unique_ptr<QPrinter> QtPlatformServices::choosePrinter(QWidget* owner) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), owner);
    // The printer and its properties only: no page range, no selection and
    // no printing to a file.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) {
        return nullptr;
    }
    return printer;
}

void QtPlatformServices::spoolFile(QWidget* owner, const QString& path,
                                   std::function<void(bool delivered)> done) {
    SpoolWithLp(path, owner, std::move(done));
}

}  // namespace alearo
