#pragma once

#include "platform_services.h"

// The platform services of the running program, on Qt's own facilities.
class QtPlatformServices : public PlatformServices {
  public:
    void ShowError(QWidget* owner, const QString& text) override;
    void ShowValidationMessage(QWidget* owner, const QString& text) override;
};
