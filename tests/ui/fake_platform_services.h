#pragma once

#include <QString>
#include <QStringList>

#include "platform_services.h"

// Records what the windows ask of the platform, and shows nothing.
class FakePlatformServices : public PlatformServices {
  public:
    void ShowError(QWidget* /*owner*/, const QString& text) override { errors << text; }
    void ShowValidationMessage(QWidget* /*owner*/, const QString& text) override {
        validationMessages << text;
    }

    QStringList errors;
    QStringList validationMessages;
};
