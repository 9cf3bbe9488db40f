#include "help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const char* const kHelpContents = "qrc:/help/alearo-help.html#contents";
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Alearo Help"));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

void HelpWindow::ShowContents() {
    m_browser->setSource(QUrl(QString::fromLatin1(kHelpContents)));
    m_browser->scrollToAnchor(QStringLiteral("contents"));
    show();
    raise();
    activateWindow();
}
