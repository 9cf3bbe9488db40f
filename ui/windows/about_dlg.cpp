#include "ui/windows/about_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "ui/platform/platform_services.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/control_ids.h"
#include "ui/windows/message_texts.h"
#include "ui/windows/window_tables.h"

namespace alearo {

CAboutDlg::CAboutDlg(PlatformServices& services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_form = BuildDialogForm(*this, AboutFormSpec(), AppIcon());

    connect(m_form.Control<QPushButton>(control_id::kAboutOk), &QPushButton::clicked, this,
            &QDialog::accept);
    // The label before the address says what the button is for.
    findChild<QLabel*>(QStringLiteral("emailLabel"))
        ->setBuddy(m_form.Control<QPushButton>(control_id::kAboutEmail));
    connect(m_form.Control<QPushButton>(control_id::kAboutEmail), &QPushButton::clicked, this,
            &CAboutDlg::OnEmail);
}

void CAboutDlg::OnEmail() {
    const QUrl mail(QStringLiteral("mailto:") + QString::fromLatin1(kSupportAddress));
    if (!m_services.OpenUrl(mail)) {
        m_services.ShowError(this, QString::fromLatin1(kEmailError));
    }
}

}  // namespace alearo
