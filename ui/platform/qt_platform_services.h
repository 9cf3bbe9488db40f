// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>

#include "ui/platform/platform_services.h"

namespace alearo {

class HelpWindow;

// The platform services of the running program, on Qt's own facilities.
class QtPlatformServices : public PlatformServices {
  public:
    void showError(QWidget* owner, const QString& text, const QString& reason) override;
    void showValidationMessage(QWidget* owner, const QString& text) override;
    bool openUrl(const QUrl& url) override;
    void showHelp(QWidget* owner, const QString& section) override;
    void setClipboardText(const QString& text) override;
    QString chooseSaveFile(QWidget* owner, const QString& caption, const QString& suggestedName,
                           const QString& filter) override;
    QString chooseOpenFile(QWidget* owner, const QString& caption, const QString& filter) override;
    int ask(QWidget* owner, const QString& question, const QStringList& answers,
            int safeAnswer) override;
    QString askText(QWidget* owner, const QString& question, const QString& text) override;
    void showInformation(QWidget* owner, const QString& text) override;
    std::unique_ptr<QPrinter> choosePrinter(QWidget* owner) override;
    void spoolFile(QWidget* owner, const QString& path,
                   std::function<void(bool delivered)> done) override;

  private:
    QPointer<HelpWindow> m_helpWindow;
};

}  // namespace alearo
