// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace alearo {

// A picture on the form that reports a click with the left mouse button.
class ClickableIcon : public QLabel {
    Q_OBJECT

  public:
    explicit ClickableIcon(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool m_pressed = false;
};

}  // namespace alearo
