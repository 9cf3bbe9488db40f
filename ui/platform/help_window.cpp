// SPDX-License-Identifier: MIT
#include "ui/platform/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace alearo {

namespace {
const char* const kHelpPage = "qrc:/help/alearo-help.html";
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(tr("Alearo Help"));
    setAccessibleName(windowTitle());
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setAccessibleName(tr("Help text"));
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

void HelpWindow::showSection(const QString& section) {
    QUrl page(QString::fromLatin1(kHelpPage));
    page.setFragment(section);
    m_browser->setSource(page);
    m_browser->scrollToAnchor(section);
    show();
    raise();
    activateWindow();
}

}  // namespace alearo
