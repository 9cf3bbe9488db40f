// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "dice/odds.h"

namespace alearo {

// What is worked out about a roll after it is made: the chance of a total at
// least and at most as high, and for a roll with "vs" the chance of each
// verdict (a hit counts as a win, a miss as a loss); below 0 until known.
struct RollChances {
    double atLeast = -1.0;
    double atMost = -1.0;
    double win = -1.0;
    double tie = -1.0;
    double loss = -1.0;
};

// One roll of the dice tray, as the history keeps it, with its chances.
struct HistoryEntry : RollChances {
    qint64 id = 0;
    QDateTime time;  // in UTC
    QString label;
    QString expression;  // the canonical spelling
    int total = 0;
    QString dice;    // the roll's text: "23 = [18 (4)] + 5"
    QString spoken;  // the roll as one sentence, for screen readers
    // A roll with "vs": how it came out and the opponent's total.
    std::optional<dice::Verdict> verdict;
    int opponentTotal = 0;
    // Every chance, until they are worked out.
    static constexpr double kUnknownChance = -1.0;
    // The chances kept with a roll come from the exact chances, as sure as
    // a double holds them.
    static constexpr double kStoredChanceError = 1e-12;
    bool chancesKnown() const { return atLeast >= 0.0; }
    bool oddsKnown() const { return win >= 0.0; }
    // Against an opponent, rather than a target.
    bool opposed() const {
        return verdict && *verdict != dice::Verdict::kHit && *verdict != dice::Verdict::kMiss;
    }
    void setChances(const RollChances& chances) { static_cast<RollChances&>(*this) = chances; }
};

// A roll the player keeps under a name.
struct SavedRoll {
    QString name;
    QString expression;
    // The store's own key for it, which stays with it through renames,
    // edits and moves; 0 until it is stored, below 0 while a failed write
    // keeps it in memory.
    qint64 id = 0;

    friend bool operator==(const SavedRoll& a, const SavedRoll& b) {
        return a.name == b.name && a.expression == b.expression;
    }
};

// The dice tray's history and saved rolls in an SQLite database, one
// transaction a change, shared safely with another Alearo running at the
// same time. Whatever goes wrong with the file, the tray goes on: a file
// that cannot be read is put aside under a dated name (never deleted or
// overwritten) and a new one begun; a folder that cannot be written or a
// file of a newer version leave the rolls of this run in memory; a file
// another program holds at the start, or a write that fails (a full disk, a
// lock held too long), keeps them in memory until writePending() gets them
// through. takeProblem() says what happened, for the player. Its calls wait
// for a busy file: TrayStoreThread runs it on a thread of its own.
class TrayStore {
    Q_DECLARE_TR_FUNCTIONS(TrayStore)

  public:
    static constexpr const char* kFileName = "alearo.sqlite";

    // Opens or makes the database in `folder`.
    explicit TrayStore(const QString& folder);
    ~TrayStore();
    TrayStore(const TrayStore&) = delete;
    TrayStore& operator=(const TrayStore&) = delete;

    // What went wrong since it was last asked, for the player; then empty.
    QString takeProblem();

    // The history, oldest first: its length, `count` entries from `first`,
    // one more at its end (its id filled in: the file's, or while a failed
    // write keeps it in memory, the one below 0 it came with or one given
    // here), and the oldest removed so that `keep` stay.
    int historyCount();
    // The id of the oldest roll kept: another Alearo's prune changes it.
    int firstId();
    std::vector<HistoryEntry> history(int first, int count);
    void append(HistoryEntry& entry);
    // The chances of the entry `id`, once they are worked out.
    void setChances(qint64 id, const RollChances& chances);
    int prune(int keep);
    void clearHistory();

    // The saved rolls in their order, or nothing when they cannot be read
    // (the problem says why): never an empty list that a write could take
    // for the player's.
    std::optional<std::vector<SavedRoll>> savedRolls();
    // One change the player makes to the saved rolls, each roll named by
    // its id: a roll added at the end (under an id below 0 never given
    // before, which names it as well as the file's own once written), a
    // roll's new name and expression, a roll removed, or the order of the
    // rolls listed.
    struct SavedChange {
        enum Kind { kAdd, kUpdate, kRemove, kOrder } kind;
        SavedRoll roll;
        std::vector<qint64> order;
    };
    // Writes the changes in one transaction, touching no other roll, so
    // that another Alearo's changes to other rolls stand. A failed write
    // keeps them in memory, in order, until the file takes them.
    void changeSavedRolls(const std::vector<SavedChange>& changes);
    // How many times changeSavedRolls() was called.
    int savedChangesMade() const { return m_savedChangesMade; }

    // Whether a failed write left rolls or changes in memory, or the file
    // was busy at the start; and another try to write them (opening the
    // file first if need be). True when the file has just come into use.
    bool hasPending() const {
        return !m_unsaved.empty() || !m_savedChanges.empty() || !m_waitingFor.isEmpty();
    }
    bool hasPendingSavedChanges() const { return !m_savedChanges.empty(); }
    // Whether the saved rolls were read when last asked for.
    bool savedRollsRead() const { return !m_savedUnreadable; }
    bool writePending();

    // Whether another Alearo wrote to the file since this was last asked.
    bool changedElsewhere();

  private:
    // What opening the file came to, and why (or the whole message).
    struct Opening {
        enum State { kServes, kLeftAlone, kDamaged, kBusy } state;
        QString why;
        QString message;
    };
    bool open(const QString& path);
    Opening openFile(const QString& path);
    void connect(const QString& path, const QString& options);
    void closeUnless(bool kept);
    void openInMemory();
    std::optional<QSqlError> migrate();
    void tell(const QString& problem);
    static QString CannotUse(const QString& path, const Opening& opening);
    void waitFor(const QString& path);
    bool openAgain();
    bool usable() const;
    bool writeSavedChanges();
    bool writeSavedChange(QSqlQuery& query, const SavedChange& change, std::vector<qint64>& added);
    bool writeSavedOrder(QSqlQuery& query, const std::vector<qint64>& order);
    qint64 savedFileId(qint64 id) const;
    bool inTransaction(const std::function<bool(QSqlQuery&)>& write);
    bool writeUnsaved(qint64& last);
    void putAside(const QString& path, const QString& why);
    void writeFailed(const QString& what);
    void writeSucceeded();
    int storedCount();

    QString m_connection;
    QSqlDatabase m_db;
    QString m_folder;
    QString m_path;
    bool m_failing = false;  // the last write failed
    QString m_problem;
    std::vector<HistoryEntry> m_unsaved;    // the rolls a failed write left in memory
    std::map<qint64, qint64> m_writtenIds;  // the ids they had there, and have in the file
    qint64 m_lastMemoryId = 0;
    std::vector<SavedChange> m_savedChanges;  // what a failed write left in memory
    std::map<qint64, qint64> m_savedIds;      // the memory ids of saved rolls, and their file ids
    bool m_savedUnreadable = false;
    int m_savedChangesMade = 0;
    QString m_waitingFor;  // the file another program held at the start
    qint64 m_dataVersion = 0;
};

}  // namespace alearo
