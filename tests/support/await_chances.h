// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QSemaphore>
#include <QThreadPool>
#include <memory>

namespace alearo {

// Lets every chance being worked out off the window's thread come back, the
// ones still wanted and the ones dropped alike.
inline void AwaitChances() {
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
}

// Keeps every worker thread busy while it lives: chances asked meanwhile
// wait, however quickly they would be worked out.
class HeldWorkers {
  public:
    HeldWorkers() {
        for (int i = 0; i < m_count; ++i) {
            QThreadPool::globalInstance()->start([held = m_held] { held->acquire(); });
        }
    }
    ~HeldWorkers() { m_held->release(m_count); }
    HeldWorkers(const HeldWorkers&) = delete;
    HeldWorkers& operator=(const HeldWorkers&) = delete;

  private:
    const int m_count = QThreadPool::globalInstance()->maxThreadCount();
    std::shared_ptr<QSemaphore> m_held = std::make_shared<QSemaphore>();
};

}  // namespace alearo
