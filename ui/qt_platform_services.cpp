#include "qt_platform_services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "help_window.h"
#include "message_texts.h"
#include "print_spooler.h"

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

void QtPlatformServices::ShowHelp(QWidget* owner) {
    // A child window of the (modal) main window, so that it takes input
    // while the main window is open.
    if (m_helpWindow.isNull()) {
        m_helpWindow = new HelpWindow(owner);
    }
    m_helpWindow->ShowContents();
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
