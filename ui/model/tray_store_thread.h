// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ui/model/tray_store.h"

namespace alearo {

// What the tray's store holds, as the models need to know it after a change.
struct TrayStoreState {
    int historyCount = 0;  // the rolls stored, with any a failed write keeps in memory
    int firstId = 0;       // the id of the oldest stored
    // The saved rolls as stored; absent while they cannot be read, or while
    // changes of this Alearo wait to be written over them.
    std::optional<std::vector<SavedRoll>> saved;
    bool savedReadable = true;
    int savedChangesMade = 0;  // by this Alearo, when the rolls were read
};

// The dice tray's store on a thread of its own, with its own connection:
// every call waits there (for a busy file, a slow disk), never on the
// window's thread, and its answer comes back here as a queued call. The
// calls run one at a time, in the order made. There it also writes again
// what a failed write left in memory, and watches the file for another
// Alearo's writes.
class TrayStoreThread : public QObject {
    Q_OBJECT

  public:
    // How often what a failed write left is tried again, and how often the
    // file is looked at for another Alearo's writes, in milliseconds.
    static constexpr int kPendingRetryMs = 2000;
    static constexpr int kWatchMs = 250;

    // Opens the store in `folder` on its thread; opened() says when.
    explicit TrayStoreThread(const QString& folder, QObject* parent = nullptr);
    // Waits for the calls made, tries once more to write what a failed
    // write left, and closes the file.
    ~TrayStoreThread() override;
    TrayStoreThread(const TrayStoreThread&) = delete;
    TrayStoreThread& operator=(const TrayStoreThread&) = delete;

    // Runs `work` with the store on its thread, then `done` with its result
    // here, unless this is gone by then. What `work` holds must be its own
    // copies of plain values.
    template <typename Work, typename Done>
    void run(Work work, Done done) {
        post([this, work = std::move(work), done = std::move(done)](TrayStore& store) mutable {
            answer([done, result = work(store)]() mutable { done(std::move(result)); });
        });
    }
    template <typename Work>
    void run(Work work) {
        post([work = std::move(work)](TrayStore& store) mutable { work(store); });
    }

    // What the store holds, read on its thread.
    static TrayStoreState StateOf(TrayStore& store);

  signals:
    // The file came into use, at the start or later, holding this.
    void opened(const alearo::TrayStoreState& state);
    // The file changed since: another Alearo wrote to it, or what this one
    // kept in memory got through.
    void changed(const alearo::TrayStoreState& state);
    // What happened to the file, for the player.
    void problem(const QString& text);

  private:
    class Worker;

    void post(std::function<void(TrayStore&)> job);
    void answer(std::function<void()> reply);

    QThread m_thread;
    std::unique_ptr<Worker> m_worker;  // on m_thread until it ends
};

}  // namespace alearo
