// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "ui/model/outcome.h"

class QPrinter;
class QUrl;
class QWidget;

namespace alearo {

// Everything the windows reach outside the process through. The program
// passes the real one; tests pass a fake that records the calls and answers
// as told, so that no test ever waits on a modal window.
class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    // A modal error box owned by `owner`: caption "Error in Alearo.exe",
    // the critical icon, one OK button, and the system's reason, when there
    // is one, behind the box's details.
    virtual void showError(QWidget* owner, const QString& text, const QString& reason = {}) = 0;

    // The form's own message for a value that did not pass its checks.
    virtual void showValidationMessage(QWidget* owner, const QString& text) = 0;

    // Opens a web page or an e-mail address with the desktop's program for
    // it; false when no program took it.
    virtual bool openUrl(const QUrl& url) = 0;

    // Shows the help window at a section of the help page: "contents" for
    // the list of sections.
    virtual void showHelp(QWidget* owner, const QString& section) = 0;

    virtual void setClipboardText(const QString& text) = 0;

    // Asks the player for a file to save to, offering `suggestedName`; empty
    // when the choice was cancelled.
    virtual QString chooseSaveFile(QWidget* owner, const QString& caption,
                                   const QString& suggestedName, const QString& filter) = 0;

    // Asks the player for a file to open; empty when the choice was cancelled.
    virtual QString chooseOpenFile(QWidget* owner, const QString& caption,
                                   const QString& filter) = 0;

    // A modal question with a button for each answer; the index of the
    // answer. `safeAnswer` (what changes nothing) is the default, and the
    // answer when the box is closed or Escape pressed.
    virtual int ask(QWidget* owner, const QString& question, const QStringList& answers,
                    int safeAnswer) = 0;

    // Asks the player for a line of text, offering `text`; a null string
    // when the question was cancelled.
    virtual QString askText(QWidget* owner, const QString& question, const QString& text) = 0;

    // A modal box that tells the player something, with an OK button.
    virtual void showInformation(QWidget* owner, const QString& text) = 0;
    // What a command came to: a failure as an error with its reason, a
    // report as information, and nothing when there is nothing to tell.
    void tell(QWidget* owner, const Outcome& outcome) {
        if (!outcome.ok) {
            showError(owner, outcome.message, outcome.reason);
        } else if (!outcome.message.isEmpty()) {
            showInformation(owner, outcome.message);
        }
    }

    // Asks the player for a printer; null when the choice was cancelled.
    virtual std::unique_ptr<QPrinter> choosePrinter(QWidget* owner) = 0;

    // Hands a file to the system's print spooler and returns at once;
    // `done` learns later whether the spooler took it.
    virtual void spoolFile(QWidget* owner, const QString& path,
                           std::function<void(bool delivered)> done) = 0;
};

}  // namespace alearo
