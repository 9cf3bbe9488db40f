// SPDX-License-Identifier: MIT
#include "ui/widgets/clickable_icon.h"

#include <QMouseEvent>

namespace alearo {

ClickableIcon::ClickableIcon(QWidget* parent) : QLabel(parent) {}

void ClickableIcon::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableIcon::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = m_pressed;
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    // Like a button: the click counts only when released over the picture.
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ClickableIcon::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first click of a double-click has already counted; the second
    // press must not count again.
    m_pressed = false;
    event->accept();
}

}  // namespace alearo
