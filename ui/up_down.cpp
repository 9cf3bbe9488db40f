#include "up_down.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {

QToolButton* MakeArrowButton(QWidget* parent, Qt::ArrowType arrow, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setObjectName(name);
    button->setAccessibleName(name);
    return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent),
      m_upButton(MakeArrowButton(this, Qt::UpArrow, QStringLiteral("up"))),
      m_downButton(MakeArrowButton(this, Qt::DownArrow, QStringLiteral("down"))) {
    setFocusPolicy(Qt::NoFocus);
    connect(m_upButton, &QToolButton::clicked, this, [this] {
        Step(+1);
        emit Scrolled(kEndScroll, m_position);
    });
    connect(m_downButton, &QToolButton::clicked, this, [this] {
        Step(-1);
        emit Scrolled(kEndScroll, m_position);
    });
}

void UpDown::SetBuddy(QLineEdit* buddy) {
    if (m_buddy != nullptr) {
        m_buddy->removeEventFilter(this);
    }
    m_buddy = buddy;
    if (m_buddy != nullptr) {
        m_buddy->installEventFilter(this);
    }
}

void UpDown::SetRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    m_position = std::clamp(m_position, std::min(minimum, maximum), std::max(minimum, maximum));
}

void UpDown::SetPosition(int position) {
    m_position =
        std::clamp(position, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
}

void UpDown::Step(int delta) {
    SetPosition(m_position + delta);
    emit Scrolled(kThumbPosition, m_position);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            if (event->type() == QEvent::KeyPress) {
                Step(key->key() == Qt::Key_Up ? +1 : -1);
            } else if (!key->isAutoRepeat()) {
                emit Scrolled(kEndScroll, m_position);
            }
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
