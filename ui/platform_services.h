#pragma once

#include <QString>

class QWidget;

// Everything the windows reach outside the process through. The program
// passes the real one; tests pass a fake that records the calls and answers
// as told, so that no test ever waits on a modal window.
class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    // A modal error box owned by `owner`: caption "Error in Alearo.exe",
    // the critical icon and one OK button.
    virtual void ShowError(QWidget* owner, const QString& text) = 0;

    // The form's own message for a value that did not pass its checks.
    virtual void ShowValidationMessage(QWidget* owner, const QString& text) = 0;
};
