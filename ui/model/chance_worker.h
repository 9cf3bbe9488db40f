// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>

template <typename T>
class QFutureWatcher;

namespace alearo {

// Works chances out on a worker thread, so that the window's thread never
// waits for them, and hands each result back on the model's own thread.
// Requests in the same lane replace each other: the result of an older one
// is dropped, whenever it comes. It says it is busy only once a result has
// been awaited for longer than a glance, so that quick answers do not flash
// a notice. Destroyed, it drops every result still to come: the work goes
// on with its own copies and then ends unseen.
class ChanceWorker : public QObject {
    Q_OBJECT

  public:
    // A request that no later one replaces.
    static constexpr int kOwnLane = -1;
    static constexpr int kPatienceMs = 100;

    explicit ChanceWorker(QObject* parent = nullptr);
    ~ChanceWorker() override;
    ChanceWorker(const ChanceWorker&) = delete;
    ChanceWorker& operator=(const ChanceWorker&) = delete;

    // Runs `work` on a worker thread and `done` with its result here. What
    // `work` holds must be its own copies of plain values.
    template <typename Work, typename Done>
    void run(int lane, Work work, Done done) {
        using Result = std::invoke_result_t<Work&>;
        auto result = std::make_shared<std::optional<Result>>();
        start(
            lane, [work = std::move(work), result]() mutable { result->emplace(work()); },
            [done = std::move(done), result]() mutable { done(std::move(**result)); });
    }
    // Drops the result awaited in `lane`, if any.
    void drop(int lane);

    bool busy() const { return m_busy; }

  signals:
    void busyChanged(bool busy);

  private:
    using Watcher = QFutureWatcher<void>;

    void start(int lane, std::function<void()> work, std::function<void()> done);
    void finished(quint64 job, const std::function<void()>& done);
    void forget(int lane);
    void settle();
    void setBusy(bool busy);

    quint64 m_lastJob = 0;
    std::map<quint64, Watcher*> m_awaited;  // by job: the results still wanted
    std::map<int, quint64> m_lanes;         // the latest job of each lane
    QTimer m_patience;
    bool m_busy = false;
};

}  // namespace alearo
