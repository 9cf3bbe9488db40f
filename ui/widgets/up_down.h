#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace alearo {

// A pair of arrow buttons beside a number box. It keeps a range and a
// position of its own, stops at the ends of the range, and answers the Up
// and Down keys while its buddy box has the focus. It never writes the box:
// each step is reported, and the owner decides what the box shows.
class UpDown : public QWidget {
    Q_OBJECT

  public:
    // Scroll codes of a step report.
    static constexpr int kThumbPosition = 4;
    static constexpr int kEndScroll = 8;

    explicit UpDown(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return m_buddy; }

    void SetRange(int minimum, int maximum);
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }

    void SetPosition(int position);
    int Position() const { return m_position; }

    // One step up (+1) or down (-1), as a click on an arrow does.
    void Step(int delta);

    // Lets go of a held arrow, as when another window takes the mouse.
    void StopRepeating();

  signals:
    // A step reports the new position (kThumbPosition), even when the range
    // held it where it was, and kEndScroll when the arrow or key is let go.
    void Scrolled(int code, int position);

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
