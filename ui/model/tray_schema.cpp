// SPDX-License-Identifier: MIT
#include "ui/model/tray_schema.h"

namespace alearo::tray_schema {

namespace {

// Version 1: the history, and the saved rolls keyed by their place in the
// list, so that every change rewrote the whole list.
QStringList MakeVersion1() {
    return {QStringLiteral("CREATE TABLE history (id INTEGER PRIMARY KEY, time TEXT NOT NULL, "
                           "label TEXT NOT NULL, expression TEXT NOT NULL, total INTEGER NOT "
                           "NULL, dice TEXT NOT NULL, spoken TEXT NOT NULL, at_least REAL NOT "
                           "NULL, at_most REAL NOT NULL)"),
            QStringLiteral("CREATE TABLE saved (position INTEGER PRIMARY KEY, name TEXT NOT "
                           "NULL, expression TEXT NOT NULL)")};
}

// Version 2: each saved roll keyed by an id of its own, never given again,
// so that a change writes that roll alone, and the order kept apart.
QStringList MakeVersion2() {
    return {QStringLiteral("CREATE TABLE saved_by_id (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "position INTEGER NOT NULL, name TEXT NOT NULL, expression TEXT NOT "
                           "NULL)"),
            QStringLiteral("INSERT INTO saved_by_id (position, name, expression) "
                           "SELECT position, name, expression FROM saved ORDER BY position"),
            QStringLiteral("DROP TABLE saved"),
            QStringLiteral("ALTER TABLE saved_by_id RENAME TO saved")};
}

// Version 3: how a roll with "vs" came out, and its odds. Rolls of before
// had none.
QStringList MakeVersion3() {
    return {QStringLiteral("ALTER TABLE history ADD COLUMN verdict TEXT NOT NULL DEFAULT ''"),
            QStringLiteral("ALTER TABLE history ADD COLUMN opponent_total INTEGER NOT NULL "
                           "DEFAULT 0"),
            QStringLiteral("ALTER TABLE history ADD COLUMN win REAL NOT NULL DEFAULT -1"),
            QStringLiteral("ALTER TABLE history ADD COLUMN tie REAL NOT NULL DEFAULT -1"),
            QStringLiteral("ALTER TABLE history ADD COLUMN loss REAL NOT NULL DEFAULT -1")};
}

}  // namespace

QStringList StepTo(int version) {
    switch (version) {
        case 1:
            return MakeVersion1();
        case 2:
            return MakeVersion2();
        case 3:
            return MakeVersion3();
        default:
            return {};
    }
}

}  // namespace alearo::tray_schema
