// SPDX-License-Identifier: MIT
#include "ui/platform/qt_platform_services.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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

QString QtPlatformServices::chooseOpenFile(QWidget* owner, const QString& caption,
                                           const QString& filter) {
    return QFileDialog::getOpenFileName(owner, caption, QString(), filter);
}

int QtPlatformServices::ask(QWidget* owner, const QString& question, const QStringList& answers,
                            int safeAnswer) {
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), question,
                    QMessageBox::NoButton, owner);
    QList<QPushButton*> buttons;
    for (const QString& answer : answers) {
        buttons << box.addButton(answer, QMessageBox::AcceptRole);
    }
    box.setDefaultButton(buttons.value(safeAnswer));
    box.setEscapeButton(buttons.value(safeAnswer));
    box.exec();
    const auto answer = static_cast<int>(buttons.indexOf(box.clickedButton()));
    return answer >= 0 ? answer : safeAnswer;
}

QString QtPlatformServices::askText(QWidget* owner, const QString& question, const QString& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(owner, QGuiApplication::applicationDisplayName(),
                                                 question, QLineEdit::Normal, text, &ok);
    return ok ? answer : QString();
}

void QtPlatformServices::showInformation(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, owner);
    box.exec();
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
