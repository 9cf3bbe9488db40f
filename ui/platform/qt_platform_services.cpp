#include "ui/platform/qt_platform_services.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "ui/platform/help_window.h"
#include "ui/platform/print_spooler.h"
#include "ui/windows/message_texts.h"

namespace alearo {

void QtPlatformServices::ShowError(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kErrorCaption), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

void QtPlatformServices::ShowValidationMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationName), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

bool QtPlatformServices::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void QtPlatformServices::ShowHelp(QWidget* owner, const QString& section) {
    // A child window of the (modal) main window, so that it takes input
    // while the main window is open.
    if (m_helpWindow.isNull()) {
        m_helpWindow = new HelpWindow(owner);
    }
    m_helpWindow->ShowSection(section);
}

void QtPlatformServices::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString QtPlatformServices::ChooseSaveFile(QWidget* owner, const QString& caption,
                                           const QString& suggestedName, const QString& filter) {
    return QFileDialog::getSaveFileName(owner, caption, suggestedName, filter);
}

std::unique_ptr<QPrinter> QtPlatformServices::ChoosePrinter(QWidget* owner) {
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

void QtPlatformServices::SpoolFile(QWidget* owner, const QString& path,
                                   std::function<void(bool delivered)> done) {
    SpoolWithLp(path, owner, std::move(done));
}

}  // namespace alearo
