// SPDX-License-Identifier: MIT
#pragma once

#include <QPrinter>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <vector>

#include "ui/platform/platform_services.h"

namespace alearo {

// Records what the windows ask of the platform, shows nothing, and answers
// as the test has told it.
struct FakePlatformServices : PlatformServices {
    void showError(QWidget*, const QString& text, const QString& reason) override {
        errors << text;
        reasons << reason;
    }
    void showValidationMessage(QWidget*, const QString& text) override { messages << text; }
    bool openUrl(const QUrl& url) override { return openedUrls << url, urlsOpen; }
    void showHelp(QWidget*, const QString& section) override { helpShown << section; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return saveFile;
    }
    QString chooseOpenFile(QWidget*, const QString&, const QString&) override { return openFile; }
    // No text given, nothing to tell: the tray's dialogs are the model's, tested there.
    QString askText(QWidget*, const QString&, const QString&) override { return {}; }
    void showInformation(QWidget*, const QString&) override {}
    // Answers with the next answer the test queued, or as closed when none is.
    int ask(QWidget*, const QString&, const QStringList& buttons, int safeAnswer) override {
        asked << buttons;
        return answers.isEmpty() ? safeAnswer : answers.takeFirst();
    }
    // Hands out the printer the test prepared; none stands for a cancelled choice.
    std::unique_ptr<QPrinter> choosePrinter(QWidget*) override {
        return ++printerChoices, std::move(nextPrinter);
    }
    void spoolFile(QWidget*, const QString& path, std::function<void(bool)> done) override {
        spooledFiles << path;
        pendingSpools.push_back(std::move(done));
    }
    // The spooler answers the oldest request.
    void finishSpool(bool delivered) {
        auto done = std::move(pendingSpools.front());
        pendingSpools.erase(pendingSpools.begin());
        done(delivered);
    }

    QStringList errors, reasons, messages;  // error boxes, their reasons, validation messages
    QList<QUrl> openedUrls;
    bool urlsOpen = true;
    QStringList helpShown;  // the sections asked for
    int printerChoices = 0;
    QString clipboard, saveFile, openFile;  // the files the player picks; empty: cancelled
    QList<int> answers;
    QList<QStringList> asked;  // the buttons of each question
    std::unique_ptr<QPrinter> nextPrinter;
    QStringList spooledFiles;
    std::vector<std::function<void(bool)>> pendingSpools;
};

}  // namespace alearo
