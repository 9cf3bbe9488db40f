// SPDX-License-Identifier: MIT
#include "ui/model/tray_store_thread.h"

#include <QTimer>
#include <memory>

namespace alearo {

// The store and its timers, on the store's thread.
class TrayStoreThread::Worker : public QObject {
  public:
    explicit Worker(TrayStoreThread& front) : m_front(front) {}

    // On the store's thread from here on.
    void open(const QString& folder) {
        m_store = std::make_unique<TrayStore>(folder);
        m_pending = std::make_unique<QTimer>();
        m_watch = std::make_unique<QTimer>();
        connect(m_pending.get(), &QTimer::timeout, this, &Worker::retry);
        connect(m_watch.get(), &QTimer::timeout, this, &Worker::watch);
        m_pending->start(kPendingRetryMs);
        m_watch->start(kWatchMs);
        tell(&TrayStoreThread::opened);
    }

    void perform(const std::function<void(TrayStore&)>& job) {
        job(*m_store);
        tellProblem();
    }

    // The last try, then back to the thread that made it, to be deleted there.
    void close(QThread* home) {
        m_pending.reset();
        m_watch.reset();
        m_store->writePending();
        m_store.reset();
        moveToThread(home);
    }

  private:
    // What a failed write left, and saved rolls that could not be read,
    // tried again.
    void retry() {
        if (!m_store->hasPending() && m_store->savedRollsRead()) {
            return;
        }
        tell(m_store->writePending() ? &TrayStoreThread::opened : &TrayStoreThread::changed);
    }

    void watch() {
        if (m_store->changedElsewhere()) {
            tell(&TrayStoreThread::changed);
        }
    }

    void tell(void (TrayStoreThread::*signal)(const TrayStoreState&)) {
        tellProblem();
        m_front.answer(
            [front = &m_front, signal, state = StateOf(*m_store)] { emit(front->*signal)(state); });
        tellProblem();  // reading the state may have found one
    }

    void tellProblem() {
        if (const QString text = m_store->takeProblem(); !text.isEmpty()) {
            m_front.answer([front = &m_front, text] { emit front->problem(text); });
        }
    }

    TrayStoreThread& m_front;
    std::unique_ptr<TrayStore> m_store;
    std::unique_ptr<QTimer> m_pending;
    std::unique_ptr<QTimer> m_watch;
};

TrayStoreThread::TrayStoreThread(const QString& folder, QObject* parent)
    : QObject(parent), m_worker(std::make_unique<Worker>(*this)) {
    m_thread.setObjectName(QStringLiteral("alearo-tray-store"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_worker.get(), [worker = m_worker.get(), folder] { worker->open(folder); },
        Qt::QueuedConnection);
}

TrayStoreThread::~TrayStoreThread() {
    QMetaObject::invokeMethod(
        m_worker.get(), [worker = m_worker.get(), home = thread()] { worker->close(home); },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void TrayStoreThread::post(std::function<void(TrayStore&)> job) {
    QMetaObject::invokeMethod(
        m_worker.get(), [worker = m_worker.get(), job = std::move(job)] { worker->perform(job); },
        Qt::QueuedConnection);
}

void TrayStoreThread::answer(std::function<void()> reply) {
    QMetaObject::invokeMethod(this, std::move(reply), Qt::QueuedConnection);
}

TrayStoreState TrayStoreThread::StateOf(TrayStore& store) {
    TrayStoreState state;
    state.historyCount = store.historyCount();
    state.firstId = store.firstId();
    state.savedChangesMade = store.savedChangesMade();
    if (!store.hasPendingSavedChanges()) {
        state.saved = store.savedRolls();
        state.savedReadable = state.saved.has_value();
    }
    return state;
}

}  // namespace alearo
