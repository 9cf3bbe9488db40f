#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <vector>

#include "platform_services.h"

// Records what the windows ask of the platform, shows nothing, and answers
// as the test has told it.
class FakePlatformServices : public PlatformServices {
  public:
    void ShowError(QWidget* /*owner*/, const QString& text) override { errors << text; }

    void ShowValidationMessage(QWidget* /*owner*/, const QString& text) override {
        validationMessages << text;
    }

    bool OpenUrl(const QUrl& url) override {
        openedUrls << url;
        return urlsOpen;
    }

    void ShowHelp(QWidget* /*owner*/) override { ++helpShown; }

    // Hands out the printer the test prepared: null stands for a cancelled choice.
    std::unique_ptr<QPrinter> ChoosePrinter(QWidget* /*owner*/) override {
        ++printerChoices;
        return std::move(nextPrinter);
    }

    void SpoolFile(QWidget* /*owner*/, const QString& path,
                   std::function<void(bool delivered)> done) override {
        spooledFiles << path;
        pendingSpools.push_back(std::move(done));
    }

    // Lets the spooler answer the oldest request.
    void FinishSpool(bool delivered) {
        auto done = std::move(pendingSpools.front());
        pendingSpools.erase(pendingSpools.begin());
        done(delivered);
    }

    QStringList errors;
    QStringList validationMessages;
    QList<QUrl> openedUrls;
    bool urlsOpen = true;
    int helpShown = 0;
    int printerChoices = 0;
    std::unique_ptr<QPrinter> nextPrinter;
    QStringList spooledFiles;
    std::vector<std::function<void(bool)>> pendingSpools;
};
