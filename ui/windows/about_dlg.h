#pragma once

#include <QDialog>

#include "ui/forms/form_builder.h"

namespace alearo {

class PlatformServices;

// The About box: version, authors, terms and the support address, which
// its button opens in the e-mail program.
class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(PlatformServices& services, QWidget* parent = nullptr);

    QWidget* GetDlgItem(int id) const { return m_form.controls.value(id); }

    void OnEmail();

  private:
    PlatformServices& m_services;
    BuiltForm m_form;
};

}  // namespace alearo
