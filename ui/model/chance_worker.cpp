// SPDX-License-Identifier: MIT
#include "ui/model/chance_worker.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace alearo {

ChanceWorker::ChanceWorker(QObject* parent) : QObject(parent) {
    m_patience.setSingleShot(true);
    m_patience.setInterval(kPatienceMs);
    connect(&m_patience, &QTimer::timeout, this, [this] { setBusy(!m_awaited.empty()); });
}

ChanceWorker::~ChanceWorker() {
    // Work not yet begun is never begun; the watchers go with this object,
    // so no result reaches it.
    for (const auto& [job, watcher] : m_awaited) {
        watcher->cancel();
    }
}

void ChanceWorker::start(int lane, std::function<void()> work, std::function<void()> done) {
    const quint64 job = ++m_lastJob;
    if (lane != kOwnLane) {
        forget(lane);
        m_lanes[lane] = job;
    }
    auto* watcher = new Watcher(this);
    connect(watcher, &Watcher::finished, this, [this, watcher, job, done = std::move(done)] {
        watcher->deleteLater();
        finished(job, done);
    });
    // Replaced, a request keeps the time it has been awaited and the notice
    // it has earned.
    if (m_awaited.empty() && !m_busy) {
        m_patience.start();
    }
    m_awaited.emplace(job, watcher);
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

void ChanceWorker::finished(quint64 job, const std::function<void()>& done) {
    const auto awaited = m_awaited.find(job);
    if (awaited == m_awaited.end()) {
        return;  // replaced by a later request
    }
    m_awaited.erase(awaited);
    done();
    settle();
}

void ChanceWorker::drop(int lane) {
    forget(lane);
    settle();
}

void ChanceWorker::forget(int lane) {
    const auto latest = m_lanes.find(lane);
    if (latest == m_lanes.end()) {
        return;
    }
    // Its work runs on (a computation cannot be stopped half way); only its
    // result goes unseen.
    m_awaited.erase(latest->second);
    m_lanes.erase(latest);
}

void ChanceWorker::settle() {
    if (m_awaited.empty()) {
        m_patience.stop();
        setBusy(false);
    }
}

void ChanceWorker::setBusy(bool busy) {
    if (m_busy != busy) {
        m_busy = busy;
        emit busyChanged(busy);
    }
}

}  // namespace alearo
