// SPDX-License-Identifier: MIT
#include "ui/widgets/up_down.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace alearo {

namespace {

QToolButton* MakeArrowButton(QWidget* parent, Qt::ArrowType arrow, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setObjectName(name);
    return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent),
      m_upButton(MakeArrowButton(this, Qt::UpArrow, QStringLiteral("up"))),
      m_downButton(MakeArrowButton(this, Qt::DownArrow, QStringLiteral("down"))) {
    setFocusPolicy(Qt::NoFocus);
    // An arrow steps as soon as it is pressed and again at each repeat while held.
    connect(m_upButton, &QToolButton::pressed, this, [this] { step(+1); });
    connect(m_downButton, &QToolButton::pressed, this, [this] { step(-1); });
}

void UpDown::setBuddy(QLineEdit* buddy) {
    if (m_buddy != nullptr) {
        m_buddy->removeEventFilter(this);
        m_buddy->window()->removeEventFilter(this);
    }
    m_buddy = buddy;
    if (m_buddy != nullptr) {
        m_buddy->installEventFilter(this);
        // The window that holds the box tells when another window takes the
        // mouse away from a held arrow.
        m_buddy->window()->installEventFilter(this);
    }
}

void UpDown::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    setPosition(m_position);
}

void UpDown::setPosition(int position) {
    m_position =
        std::clamp(position, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
}

void UpDown::step(int delta) {
    setPosition(m_position + delta);
    emit stepped(m_position);
}

void UpDown::stopRepeating() {
    for (QToolButton* button : {m_upButton, m_downButton}) {
        button->setDown(false);
    }
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    // A message box opened by a step takes the mouse away: a held arrow
    // must not go on stepping (and opening boxes) behind it.
    if (watched != m_buddy) {
        if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::Hide ||
            event->type() == QEvent::WindowDeactivate) {
            stopRepeating();
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upperHeight = height() / 2;
    m_upButton->setGeometry(0, 0, width(), upperHeight);
    m_downButton->setGeometry(0, upperHeight, width(), height() - upperHeight);
}

}  // namespace alearo
