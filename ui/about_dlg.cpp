#include "about_dlg.h"

#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app_icon.h"
#include "control_table.h"
#include "dialog_units.h"
#include "message_texts.h"
#include "platform_services.h"

namespace {
constexpr int kOkButton = 1;
constexpr int kEmailButton = 1048;
}  // namespace

CAboutDlg::CAboutDlg(PlatformServices& services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    const FormSpec& spec = AboutFormSpec();
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QString::fromLatin1(spec.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* page = new QWidget(this);
    m_form = BuildForm(spec, page, DialogUnits(font()), AppIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    layout->setSizeConstraint(QLayout::SetFixedSize);

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
