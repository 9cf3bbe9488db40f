#include "about_dlg.h"

#include <QPushButton>
#include <QUrl>

#include "app_icon.h"
#include "control_table.h"
#include "message_texts.h"
#include "platform_services.h"

namespace {
constexpr int kOkButton = 1;
constexpr int kEmailButton = 1048;
}  // namespace

CAboutDlg::CAboutDlg(PlatformServices& services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_form = BuildDialogForm(*this, AboutFormSpec(), AppIcon());

    connect(qobject_cast<QPushButton*>(GetDlgItem(kOkButton)), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(qobject_cast<QPushButton*>(GetDlgItem(kEmailButton)), &QPushButton::clicked, this,
            &CAboutDlg::OnEmail);
}

void CAboutDlg::OnEmail() {
    const QUrl mail(QStringLiteral("mailto:") + QString::fromLatin1(kSupportAddress));
    if (!m_services.OpenUrl(mail)) {
        m_services.ShowError(this, QString::fromLatin1(kEmailError));
    }
}
