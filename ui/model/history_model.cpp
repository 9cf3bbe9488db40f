// SPDX-License-Identifier: MIT
#include "ui/model/history_model.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

#include "stats/distribution_table.h"
#include "ui/model/chance_sentences.h"

namespace alearo {

namespace {

QString Percent(double chance) {
    return QString::fromStdString(PercentText(chance, 0, HistoryEntry::kStoredChanceError));
}

// The dice of an entry without the totals its first line shows: "[5 2] + 3"
// or, against an opponent, "[5 2] + 3 vs [4 6] + 1".
QString DiceShown(const HistoryEntry& entry) {
    QString dice = entry.dice.section(QLatin1String(" = "), 1, -1);
    if (entry.opposed()) {
        static const QRegularExpression kOpponentTotal(QStringLiteral(" vs -?[0-9]+ = "));
        dice.replace(kOpponentTotal, QStringLiteral(" vs "));
    }
    return dice;
}

QString ShownTime(const HistoryEntry& entry) {
    return QLocale().toString(entry.time.toLocalTime().time(), QLocale::ShortFormat);
}

}  // namespace

HistoryModel::HistoryModel(TrayStoreThread& store, QObject* parent)
    : QAbstractListModel(parent), m_store(store) {}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_stored - m_first + static_cast<int>(m_taking.size());
}

void HistoryModel::fetchOlder() {
    if (canFetchOlder()) {
        const int older = std::min(m_first, kFetchedRows);
        beginInsertRows({}, 0, older - 1);
        m_first -= older;
        endInsertRows();
    }
}

QHash<int, QByteArray> HistoryModel::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert({{kTimeRole, "time"},
                  {kLabelRole, "label"},
                  {kExpressionRole, "expression"},
                  {kTotalRole, "total"},
                  {kDiceRole, "dice"},
                  {kAtLeastRole, "atLeast"},
                  {kAtMostRole, "atMost"}});
    return names;
}

// The entry shown at a row, if known; a page not yet read is asked for.
const HistoryEntry* HistoryModel::find(int shownRow) const {
    const int row = m_first + shownRow;
    if (shownRow < 0 || row >= m_stored) {
        const auto taking = static_cast<std::size_t>(row - m_stored);
        return shownRow >= 0 && taking < m_taking.size() ? &m_taking[taking] : nullptr;
    }
    if (const auto page = pageHolding(row); page != m_pages.end()) {
        return &page->second[static_cast<std::size_t>(row - page->first)];
    }
    ask(row - row % kPageRows);
    return nullptr;
}

// The page that holds a row of the store. Pages are read a whole number of
// pages from the first row, and keep their rows when the oldest go; so they
// may overlap, and the one that begins last wins.
HistoryModel::Pages::iterator HistoryModel::pageHolding(int row) const {
    for (auto page = m_pages.upper_bound(row); page != m_pages.begin();) {
        --page;
        if (row - page->first < static_cast<int>(page->second.size())) {
            return page;
        }
    }
    return m_pages.end();
}

// A page of the store's rows read on its thread, once at a time. Reading is
// the model's own business, not a change the view makes, so a view's call
// of data() may set it going.
void HistoryModel::ask(int first) const {
    if (!m_asked.insert(first).second) {
        return;
    }
    auto* model = const_cast<HistoryModel*>(this);
    m_store.run([first](TrayStore& store) { return store.history(first, kPageRows); },
                [model, first, generation = m_generation](std::vector<HistoryEntry> rows) {
                    model->pageRead(generation, first, std::move(rows));
                });
}

void HistoryModel::pageRead(quint64 generation, int first, std::vector<HistoryEntry> rows) {
    if (generation != m_generation) {
        return;  // read by a numbering of rows gone since
    }
    m_asked.erase(first);
    if (m_pages.size() >= kPagesKept && m_pages.count(first) == 0) {
        // The page farthest from this one goes.
        m_pages.erase(std::abs(m_pages.begin()->first - first) >
                              std::abs(std::prev(m_pages.end())->first - first)
                          ? m_pages.begin()
                          : std::prev(m_pages.end()));
    }
    // Chances worked out here may not have reached the store when it read them.
    if (const auto kept = m_pages.find(first); kept != m_pages.end()) {
        for (std::size_t i = 0; i < std::min(rows.size(), kept->second.size()); ++i) {
            if (rows[i].id == kept->second[i].id && !rows[i].chancesKnown()) {
                rows[i].setChances(kept->second[i]);
            }
        }
    }
    m_pages[first] = std::move(rows);
    const int top = std::max(0, first - m_first);
    const int bottom = std::min(first + kPageRows, m_stored) - m_first - 1;
    if (top <= bottom) {
        emit dataChanged(index(top), index(bottom));
    }
}

HistoryEntry HistoryModel::entry(int row) const {
    const HistoryEntry* found = find(row);
    return found != nullptr ? *found : HistoryEntry{};
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    const HistoryEntry* entry = index.isValid() ? find(index.row()) : nullptr;
    if (entry == nullptr) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return tr("%1  %2%3 = %4\n%5   %6")
                .arg(ShownTime(*entry),
                     entry->label.isEmpty() ? QString() : entry->label + QLatin1String("  "),
                     entry->expression, TotalText(*entry), DiceShown(*entry), chancesOf(*entry));
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return SpokenText(*entry);
        case kTimeRole:
            return entry->time.toLocalTime();
        case kLabelRole:
            return entry->label;
        case kExpressionRole:
            return entry->expression;
        case kTotalRole:
            return entry->total;
        case kDiceRole:
            return entry->dice;
        case kAtLeastRole:
            return entry->chancesKnown() ? QVariant(entry->atLeast) : QVariant();
        case kAtMostRole:
            return entry->chancesKnown() ? QVariant(entry->atMost) : QVariant();
        default:
            return {};
    }
}

namespace {

// "55% to hit", "45% to miss", or "win 66%, tie 10%, loss 24%".
QString OddsText(const HistoryEntry& entry) {
    switch (*entry.verdict) {
        case dice::Verdict::kHit:
            return HistoryModel::tr("%1 to hit").arg(Percent(entry.win));
        case dice::Verdict::kMiss:
            return HistoryModel::tr("%1 to miss").arg(Percent(entry.loss));
        default:
            return HistoryModel::tr("win %1, tie %2, loss %3")
                .arg(Percent(entry.win), Percent(entry.tie), Percent(entry.loss));
    }
}

}  // namespace

QString HistoryModel::TotalText(const HistoryEntry& entry) {
    if (!entry.verdict) {
        return QString::number(entry.total);
    }
    const QString totals = entry.opposed()
                               ? tr("%1 vs %2").arg(entry.total).arg(entry.opponentTotal)
                               : QString::number(entry.total);
    return tr("%1, %2").arg(totals, VerdictWord(*entry.verdict));
}

QString HistoryModel::ChancesText(const HistoryEntry& entry) {
    if (!entry.chancesKnown()) {
        return {};
    }
    // A roll with "vs" is told by the chance of its verdict, which says more
    // than how rare its total is.
    if (entry.verdict) {
        return entry.oddsKnown() ? OddsText(entry) : tr("odds too small to work out");
    }
    return tr("top %1, bottom %2").arg(Percent(entry.atLeast), Percent(entry.atMost));
}

QString HistoryModel::SpokenText(const HistoryEntry& entry) {
    return entry.chancesKnown() ? tr("%1 Chances: %2.").arg(entry.spoken, ChancesText(entry))
                                : entry.spoken;
}

QString HistoryModel::CopiedText(const HistoryEntry& entry) {
    QString text = ShownTime(entry) + QLatin1Char(' ') +
                   tr("%1 %2: %3").arg(entry.label, entry.expression, entry.dice).trimmed();
    if (entry.verdict) {
        text += QLatin1String(", ") + VerdictWord(*entry.verdict);
    }
    if (entry.chancesKnown()) {
        text += QLatin1String(" (") + ChancesText(entry) + QLatin1Char(')');
    }
    return text;
}

QString HistoryModel::chancesOf(const HistoryEntry& entry) const {
    if (entry.chancesKnown()) {
        return ChancesText(entry);
    }
    return m_working ? tr("working out the chances\u2026") : QString();
}

int HistoryModel::rowOf(qint64 id) const {
    const auto stored = m_storedIds.find(id);
    const qint64 storedId = stored != m_storedIds.end() ? stored->second : id;
    for (std::size_t i = 0; i < m_taking.size(); ++i) {
        if (m_taking[i].id == id) {
            return m_stored - m_first + static_cast<int>(i);
        }
    }
    for (const auto& [first, rows] : m_pages) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].id == storedId) {
                return first + static_cast<int>(i) - m_first;
            }
        }
    }
    return -1;
}

void HistoryModel::setChances(qint64 id, const RollChances& chances) {
    const int row = rowOf(id);
    // The same entry as find() gives, changed: the model's own, not a view's.
    if (auto* entry = row >= 0 ? const_cast<HistoryEntry*>(find(row)) : nullptr) {
        entry->setChances(chances);
        emit dataChanged(index(row), index(row));
    }
}

void HistoryModel::setWorking(bool working) {
    if (m_working != working) {
        m_working = working;
        showChances();
    }
}

void HistoryModel::showChances() {
    if (rowCount() > 0) {
        emit dataChanged(
            index(0), index(rowCount() - 1),
            {Qt::DisplayRole, Qt::AccessibleTextRole, Qt::ToolTipRole, kAtLeastRole, kAtMostRole});
    }
}

void HistoryModel::append(const HistoryEntry& entry) {
    beginInsertRows({}, rowCount(), rowCount());
    m_taking.push_back(entry);
    endInsertRows();
}

void HistoryModel::written(qint64 id, qint64 storedId, int count, int firstId) {
    if (m_taking.empty() || m_taking.front().id != id) {
        return;  // the history was cleared since
    }
    // Rolls another Alearo wrote meanwhile come before it, as in the store.
    sync(count - 1, firstId);
    HistoryEntry entry = m_taking.front();
    entry.id = storedId;
    m_taking.erase(m_taking.begin());
    m_storedIds.emplace(id, storedId);
    ++m_stored;
    keep(m_stored - 1, entry);
}

// An entry the store now holds at `row`, kept with its page when that page
// is read up to it.
void HistoryModel::keep(int row, const HistoryEntry& entry) {
    if (const auto before = pageHolding(row - 1);
        before != m_pages.end() && before->first + static_cast<int>(before->second.size()) == row) {
        before->second.push_back(entry);
    } else if (row % kPageRows == 0) {
        m_pages[row] = {entry};  // a page begun
    }
}

void HistoryModel::sync(int count, int firstId) {
    // Rows are counted from the oldest roll kept: when that one goes (this
    // Alearo's prune or another's), every row moves up.
    if (firstId < m_firstId) {
        reset(count, firstId);  // the history was cleared since
        return;
    }
    if (firstId > m_firstId && m_stored > 0) {
        removeOldest(std::min(firstId - m_firstId, m_stored));
    }
    m_firstId = firstId;
    if (count < m_stored) {
        reset(count, firstId);
        return;
    }
    if (count > m_stored) {
        const int shown = m_stored - m_first;
        beginInsertRows({}, shown, shown + count - m_stored - 1);
        m_stored = count;
        endInsertRows();
    }
}

void HistoryModel::refresh(int count, int firstId) {
    sync(count, firstId);
    const int last = std::max(0, m_stored - 1);
    for (int first = std::max(0, last - kPageRows) / kPageRows * kPageRows; first <= last;
         first += kPageRows) {
        if (m_pages.count(first) != 0) {
            ask(first);  // shown as it was until read again
        }
    }
}

// The oldest `removed` rolls are gone from the store: the rows shown of
// them go, and the others keep their place in the view.
void HistoryModel::removeOldest(int removed) {
    const int shownRemoved = std::clamp(removed - m_first, 0, m_stored - m_first);
    if (shownRemoved > 0) {
        beginRemoveRows({}, 0, shownRemoved - 1);
    }
    renumber();
    Pages moved;
    for (auto& [first, rows] : m_pages) {
        if (first + static_cast<int>(rows.size()) > removed) {
            const int gone = std::max(0, removed - first);
            rows.erase(rows.begin(), rows.begin() + gone);
            moved.emplace(first + gone - removed, std::move(rows));
        }
    }
    m_pages = std::move(moved);
    m_first = std::max(0, m_first - removed);
    m_stored -= removed;
    if (shownRemoved > 0) {
        endRemoveRows();
    }
}

// The store's numbering of rows moved: what is being read by the old one
// goes unseen.
void HistoryModel::renumber() {
    m_asked.clear();
    ++m_generation;
}

void HistoryModel::clear() {
    beginResetModel();
    renumber();
    m_pages.clear();
    m_taking.clear();
    m_stored = m_first = m_firstId = 0;
    endResetModel();
}

void HistoryModel::reset(int count, int firstId) {
    beginResetModel();
    renumber();
    m_pages.clear();
    m_stored = count;
    m_firstId = firstId;
    m_first = firstShown();
    endResetModel();
    if (m_stored > 0) {
        ask((m_stored - 1) / kPageRows * kPageRows);  // where the next rolls go
    }
}

}  // namespace alearo
