// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <map>
#include <vector>

#include "ui/model/tray_store.h"

namespace alearo {

// The dice tray's history, oldest first, as the store keeps it. It begins
// with the newest rolls and fetches older ones as the view scrolls up to
// them, and rows are read a page at a time when first shown: opening the
// tray over a long history reads and lays out only its end.
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

    explicit HistoryModel(TrayStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    HistoryEntry entry(int row) const;

    // Older rolls, put before the first row. (Not Qt's fetchMore(), which
    // views call at the bottom of a list, where the newest rolls are.)
    bool canFetchOlder() const { return m_first > 0; }
    void fetchOlder();

    // After the store changed: rows added at the end and the oldest pruned
    // (by this Alearo or another), or the history emptied.
    void appended();
    void reset();
    // After another Alearo wrote to the store: its rolls added at the end,
    // the oldest it pruned gone, and the chances it worked out shown.
    void refresh();
    // After the chances of some rolls were worked out.
    void chancesChanged();
    // Whether chances are being worked out for a while: the rolls still
    // without them say so where their chances will be.
    void setWorking(bool working);

    // "top 8%, bottom 95%": how rare a total this high and this low is.
    static QString ChancesText(double atLeast, double atMost);
    // The entry's sentence for screen readers, with its chances once known.
    static QString SpokenText(const HistoryEntry& entry);
    // The entry for the clipboard: its time as shown, the roll and its chances.
    static QString CopiedText(const HistoryEntry& entry);

  private:
    QString chancesOf(const HistoryEntry& entry) const;
    void showChances();
    static constexpr int kPageRows = 256;
    static constexpr std::size_t kPagesKept = 16;
    static constexpr int kFetchedRows = 4 * kPageRows;

    const HistoryEntry* cached(int row) const;
    int firstShown() const { return std::max(0, m_count - kFetchedRows); }
    void removeOldest(int removed);

    TrayStore& m_store;
    int m_count = 0;    // in the store
    int m_first = 0;    // the store's row shown first
    int m_firstId = 0;  // the id of the store's first row
    bool m_working = false;
    mutable std::map<int, std::vector<HistoryEntry>> m_pages;  // by first row
};

}  // namespace alearo
