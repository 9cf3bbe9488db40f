// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "ui/model/tray_store.h"

namespace alearo {

// The files the dice tray exports and imports. Saved rolls:
//
//   {"format": "alearo-saved-rolls", "version": 1,
//    "rolls": [{"name": "Longsword attack", "expression": "1d20+5"}]}
//
// Readers take any version up to their own; names and expressions are
// strings, and each expression one the dice notation reads.
QByteArray SavedRollsJson(const std::vector<SavedRoll>& rolls);

struct SavedRollsRead {
    std::vector<SavedRoll> rolls;  // every entry that passed its checks
    QStringList problems;          // one sentence for each that did not
    QString error;                 // why nothing could be read; empty when something was
};
SavedRollsRead ReadSavedRollsJson(const QByteArray& json);

// The history as CSV, one roll a line after a header: the time in ISO 8601
// (UTC), the label, the expression, the total and the dice; then, for a roll
// with "vs", its outcome ("hit", "miss", "win", "tie" or "loss"), the
// opponent's total, and the chances of a hit or win, a tie, and a miss or
// loss as fractions (empty for a roll without "vs", or before they are
// known). Columns only ever come at the end, for readers of older files.
QByteArray HistoryCsv(const std::vector<HistoryEntry>& entries);

}  // namespace alearo
