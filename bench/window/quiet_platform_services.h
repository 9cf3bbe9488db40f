#pragma once

#include <QPrinter>

#include "ui/platform/platform_services.h"

// Platform services that reach nothing outside the process: a benchmark's
// window must never stop on a message box, a printer choice or a browser.
class QuietPlatformServices : public alearo::PlatformServices {
  public:
    void ShowError(QWidget* /*owner*/, const QString& /*text*/) override {}
    void ShowValidationMessage(QWidget* /*owner*/, const QString& /*text*/) override {}
    bool OpenUrl(const QUrl& /*url*/) override { return false; }
    void ShowHelp(QWidget* /*owner*/, const QString& /*section*/) override {}
    void SetClipboardText(const QString& /*text*/) override {}
    QString ChooseSaveFile(QWidget* /*owner*/, const QString& /*caption*/,
                           const QString& /*suggestedName*/, const QString& /*filter*/) override {
        return {};
    }
    std::unique_ptr<QPrinter> ChoosePrinter(QWidget* /*owner*/) override { return nullptr; }
    void SpoolFile(QWidget* /*owner*/, const QString& /*path*/,
                   std::function<void(bool delivered)> done) override {
        done(false);
    }
};
