// SPDX-License-Identifier: MIT
#pragma once

#include <QTest>

#include "ui/model/dice_tray_model.h"

namespace alearo {

// The tray's store works on a thread of its own: these wait for its answers.

// Until the store has opened its file, and the tray shows what it holds.
inline bool AwaitOpened(const DiceTrayModel& tray, int ms = 5000) {
    return QTest::qWaitFor([&tray] { return tray.storeOpened(); }, ms);
}

// Until the store has taken every roll made (written, or kept in memory).
inline bool AwaitTaken(const HistoryModel& history, int ms = 5000) {
    return QTest::qWaitFor([&history] { return history.allTaken(); }, ms);
}

// The entry of a row, once its page is read from the store; empty if it
// never is.
inline HistoryEntry ShownEntry(const HistoryModel& history, int row) {
    HistoryEntry entry;
    const bool read = QTest::qWaitFor([&] {
        entry = history.entry(row);
        return !entry.expression.isEmpty();
    });
    return read ? entry : HistoryEntry{};
}

}  // namespace alearo
