// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <map>
#include <set>
#include <vector>

#include "ui/model/tray_store_thread.h"

namespace alearo {

// The dice tray's history, oldest first, as the store keeps it, and the
// rolls just made that the store has yet to take. It begins with the newest
// rolls and fetches older ones as the view scrolls up to them; rows are read
// on the store's thread a page at a time when first shown, and show empty
// until then: opening the tray over a long history reads and lays out only
// its end, and no row waits for the disk.
class HistoryModel : public QAbstractListModel {
    Q_OBJECT

  public:
    enum Role {
        kTimeRole = Qt::UserRole + 1,  // QDateTime, local
        kLabelRole,
        kExpressionRole,
        kTotalRole,
        kDiceRole,
        kAtLeastRole,  // the chance of a total at least this high
        kAtMostRole,   // and of one at least this low
    };
    Q_ENUM(Role)

    explicit HistoryModel(TrayStoreThread& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The entry of a row, or an empty one while its page is being read.
    HistoryEntry entry(int row) const;

    // Older rolls, put before the first row. (Not Qt's fetchMore(), which
    // views call at the bottom of a list, where the newest rolls are.)
    bool canFetchOlder() const { return m_first > 0; }
    void fetchOlder();

    // A roll just made, shown at once under an id below 0 of its own;
    // written() once the store took it under `storedId`, holding `count`
    // rolls from the id `firstId`.
    void append(const HistoryEntry& entry);
    bool allTaken() const { return m_taking.empty(); }
    void written(qint64 id, qint64 storedId, int count, int firstId);
    // What the store holds now: rolls added at the end and the oldest
    // pruned (by this Alearo or another), or the history emptied.
    void sync(int count, int firstId);
    // Every row read again; the rolls not yet taken stay at the end.
    void reset(int count, int firstId);
    // The history emptied here, the rolls not yet taken with it.
    void clear();
    // After another Alearo wrote to the store: as sync(), and the newest
    // rows read again for the chances it worked out.
    void refresh(int count, int firstId);
    void setChances(qint64 id, const RollChances& chances);
    // Whether chances are being worked out for a while: the rolls still
    // without them say so where their chances will be.
    void setWorking(bool working);

    // "top 8%, bottom 95%": how rare a total this high and this low is; for
    // a roll with "vs", the chance of its verdict instead ("55% to hit",
    // "45% to miss") or of each against an opponent ("win 66%, tie 10%,
    // loss 24%"). Empty until they are known.
    static QString ChancesText(const HistoryEntry& entry);
    // The total as the entry shows it: "20", "20, hit" or "12 vs 9, win".
    static QString TotalText(const HistoryEntry& entry);
    // The entry's sentence for screen readers, with its chances once known.
    static QString SpokenText(const HistoryEntry& entry);
    // The entry for the clipboard: its time as shown, the roll and its chances.
    static QString CopiedText(const HistoryEntry& entry);

  private:
    static constexpr int kPageRows = 256;
    static constexpr std::size_t kPagesKept = 16;
    static constexpr int kFetchedRows = 4 * kPageRows;
    using Pages = std::map<int, std::vector<HistoryEntry>>;

    QString chancesOf(const HistoryEntry& entry) const;
    void showChances();
    const HistoryEntry* find(int shownRow) const;
    Pages::iterator pageHolding(int row) const;
    int rowOf(qint64 id) const;
    void ask(int first) const;
    void pageRead(quint64 generation, int first, std::vector<HistoryEntry> rows);
    void keep(int row, const HistoryEntry& entry);
    void renumber();
    int firstShown() const { return std::max(0, m_stored - kFetchedRows); }
    void removeOldest(int removed);

    TrayStoreThread& m_store;
    int m_stored = 0;   // rows in the store
    int m_first = 0;    // the store's row shown first
    int m_firstId = 0;  // the id of the store's first row
    bool m_working = false;
    std::vector<HistoryEntry> m_taking;    // rolls the store is yet to take
    std::map<qint64, qint64> m_storedIds;  // the ids rolls had here, and have in the store
    quint64 m_generation = 0;              // of the store's numbering of rows
    mutable Pages m_pages;                 // by first row

    mutable std::set<int> m_asked;  // pages being read
};

}  // namespace alearo
