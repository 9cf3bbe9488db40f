// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

namespace alearo {

class PlatformServices;

// The About box: version, authors, terms and the support address, which
// its button opens in the e-mail program.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(PlatformServices& services, QWidget* parent = nullptr);
    ~AboutDialog() override;

  private:
    void openEmail();

    std::unique_ptr<Ui::AboutDialog> m_ui;
    PlatformServices& m_services;
};

}  // namespace alearo
