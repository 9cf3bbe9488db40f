// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace alearo {

// A pair of arrow buttons beside a number box. It keeps a range and a
// position of its own, stops at the ends of the range, and answers the Up
// and Down keys while its buddy box has the focus. It never writes the box:
// each step is reported, and the owner decides what the box shows. (A
// QSpinBox owns its text, which the main window's boxes must not.)
class UpDown : public QWidget {
    Q_OBJECT

  public:
    explicit UpDown(QWidget* parent = nullptr);

    void setBuddy(QLineEdit* buddy);
    QLineEdit* buddy() const { return m_buddy; }

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    void setPosition(int position);
    int position() const { return m_position; }

    // One step up (+1) or down (-1), as a click on an arrow does.
    void step(int delta);

    // Lets go of a held arrow, as when another window takes the mouse.
    void stopRepeating();

  signals:
    // Every step reports the position, also when the range held it where it was.
    void stepped(int position);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* m_upButton;
    QToolButton* m_downButton;
    QLineEdit* m_buddy = nullptr;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
};

}  // namespace alearo
