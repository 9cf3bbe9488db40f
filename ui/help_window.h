#pragma once

#include <QWidget>

class QTextBrowser;

// The help page that ships inside the program, in a window of its own.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window, raised, at the page's contents.
    void ShowContents();

    QTextBrowser* Browser() const { return m_browser; }

  private:
    QTextBrowser* m_browser;
};
