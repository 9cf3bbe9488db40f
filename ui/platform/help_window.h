// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QTextBrowser;

namespace alearo {

// The help page that ships inside the program, in a window of its own.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window, raised, at a section of the page ("contents" for the
    // list of sections).
    void showSection(const QString& section);

    QTextBrowser* browser() const { return m_browser; }

  private:
    QTextBrowser* m_browser;
};

}  // namespace alearo
