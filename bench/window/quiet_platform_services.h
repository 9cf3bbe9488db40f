#pragma once

#include <QPrinter>

#include "platform_services.h"

// Platform services that reach nothing outside the process: a benchmark's
// window must never stop on a message box, a printer choice or a browser.
class QuietPlatformServices : public PlatformServices {
  public:
    void ShowError(QWidget* /*owner*/, const QString& /*text*/) override {}
    void ShowValidationMessage(QWidget* /*owner*/, const QString& /*text*/) override {}
    bool OpenUrl(const QUrl& /*url*/) override { return false; }
    void ShowHelp(QWidget* /*owner*/) override {}
    std::unique_ptr<QPrinter> ChoosePrinter(QWidget* /*owner*/) override { return nullptr; }
    void SpoolFile(QWidget* /*owner*/, const QString& /*path*/,
                   std::function<void(bool delivered)> done) override {
        done(false);
    }
};
