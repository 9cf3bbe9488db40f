// SPDX-License-Identifier: MIT
#include "ui/windows/about_dialog.h"

#include <QCoreApplication>
#include <QUrl>

#include "ui/platform/links.h"
#include "ui/platform/platform_services.h"
#include "ui/windows/app_icon.h"
#include "ui_about_dialog.h"

namespace alearo {

namespace {
constexpr int kIconPixels = 32;
}

AboutDialog::AboutDialog(PlatformServices& services, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::AboutDialog>()), m_services(services) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_ui->aboutIcon->setPixmap(AppIcon().pixmap(kIconPixels, kIconPixels));
    m_ui->versionLine->setText(tr("Alearo Version %1").arg(QStringLiteral(ALEARO_VERSION_SHORT)));
    m_ui->emailButton->setText(QString::fromLatin1(kSupportAddress));
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->emailButton, &QPushButton::clicked, this, &AboutDialog::openEmail);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::openEmail() {
    const QUrl mail(QStringLiteral("mailto:") + QString::fromLatin1(kSupportAddress));
    if (!m_services.openUrl(mail)) {
        m_services.showError(this, tr("Could not open your email program."));
    }
}

}  // namespace alearo
