#pragma once

#include <QPointer>

#include "ui/platform/platform_services.h"

namespace alearo {

class HelpWindow;

// The platform services of the running program, on Qt's own facilities.
class QtPlatformServices : public PlatformServices {
  public:
    void ShowError(QWidget* owner, const QString& text) override;
    void ShowValidationMessage(QWidget* owner, const QString& text) override;
    bool OpenUrl(const QUrl& url) override;
    void ShowHelp(QWidget* owner, const QString& section) override;
    void SetClipboardText(const QString& text) override;
    QString ChooseSaveFile(QWidget* owner, const QString& caption, const QString& suggestedName,
                           const QString& filter) override;
    std::unique_ptr<QPrinter> ChoosePrinter(QWidget* owner) override;
    void SpoolFile(QWidget* owner, const QString& path,
                   std::function<void(bool delivered)> done) override;

  private:
    QPointer<HelpWindow> m_helpWindow;
};

}  // namespace alearo
