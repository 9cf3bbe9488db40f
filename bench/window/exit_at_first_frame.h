// SPDX-License-Identifier: MIT
#pragma once

#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

// An application that ends the process the moment its first window has been
// painted and handed to the window system, so that timing the whole process
// from outside measures start to shown window.
//
// The paint of a window runs nested inside the event that asked for it (the
// expose of the window or an update request), children after their parent.
// Only when that outermost event has been handled is the frame complete and
// flushed; the process ends there, before anything else runs.
template <class Application>
class ExitAtFirstFrame : public Application {
  public:
    ExitAtFirstFrame(int& argc, char** argv) : Application(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Paint && receiver->isWidgetType() &&
            static_cast<QWidget*>(receiver)->isWindow()) {
            m_windowPainted = true;
        }
        ++m_depth;
        const bool handled = Application::notify(receiver, event);
        --m_depth;
        if (m_windowPainted && m_depth == 0) {
            std::fflush(nullptr);
            std::_Exit(EXIT_SUCCESS);
        }
        return handled;
    }

  private:
    int m_depth = 0;
    bool m_windowPainted = false;
};
