// SPDX-License-Identifier: MIT
#pragma once

#include <QPrinter>

#include "ui/platform/platform_services.h"

// Platform services that reach nothing outside the process: a benchmark's
// window must never stop on a message box, a printer choice or a browser.
class QuietPlatformServices : public alearo::PlatformServices {
  public:
    void showError(QWidget* /*owner*/, const QString& /*text*/,
                   const QString& /*reason*/) override {}
    void showValidationMessage(QWidget* /*owner*/, const QString& /*text*/) override {}
    bool openUrl(const QUrl& /*url*/) override { return false; }
    void showHelp(QWidget* /*owner*/, const QString& /*section*/) override {}
    void setClipboardText(const QString& /*text*/) override {}
    QString chooseSaveFile(QWidget* /*owner*/, const QString& /*caption*/,
                           const QString& /*suggestedName*/, const QString& /*filter*/) override {
        return {};
    }
    QString chooseOpenFile(QWidget* /*owner*/, const QString& /*caption*/,
                           const QString& /*filter*/) override {
        return {};
    }
    int ask(QWidget* /*owner*/, const QString& /*question*/, const QStringList& /*answers*/,
            int safeAnswer) override {
        return safeAnswer;
    }
    QString askText(QWidget* /*owner*/, const QString& /*question*/,
                    const QString& /*text*/) override {
        return {};
    }
    void showInformation(QWidget* /*owner*/, const QString& /*text*/) override {}
    std::unique_ptr<QPrinter> choosePrinter(QWidget* /*owner*/) override { return nullptr; }
    void spoolFile(QWidget* /*owner*/, const QString& /*path*/,
                   std::function<void(bool delivered)> done) override {
        done(false);
    }
};
