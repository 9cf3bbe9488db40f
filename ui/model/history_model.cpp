// SPDX-License-Identifier: MIT
#include "ui/model/history_model.h"

#include <QLocale>
#include <algorithm>

#include "stats/distribution_table.h"

namespace alearo {

namespace {

// The chances kept with a roll come from the exact chances, as sure as a
// double holds them.
constexpr double kStoredChanceError = 1e-12;

QString Percent(double chance) {
    return QString::fromStdString(PercentText(chance, 0, kStoredChanceError));
}

QString ShownTime(const HistoryEntry& entry) {
    return QLocale().toString(entry.time.toLocalTime().time(), QLocale::ShortFormat);
}

}  // namespace

HistoryModel::HistoryModel(TrayStore& store, QObject* parent)
    : QAbstractListModel(parent),
      m_store(store),
      m_count(store.historyCount()),
      m_first(firstShown()),
      m_firstId(store.firstId()) {}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count - m_first;
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

const HistoryEntry* HistoryModel::cached(int shownRow) const {
    const int row = m_first + shownRow;
    if (shownRow < 0 || row >= m_count) {
        return nullptr;
    }
    const int first = row - row % kPageRows;
    auto page = m_pages.find(first);
    if (page == m_pages.end()) {
        if (m_pages.size() >= kPagesKept) {
            m_pages.erase(m_pages.begin()->first == first ? std::prev(m_pages.end())
                                                          : m_pages.begin());
        }
        page = m_pages.emplace(first, m_store.history(first, kPageRows)).first;
    }
    const auto at = static_cast<std::size_t>(row - first);
    return at < page->second.size() ? &page->second[at] : nullptr;
}

HistoryEntry HistoryModel::entry(int row) const {
    const HistoryEntry* found = cached(row);
    return found != nullptr ? *found : HistoryEntry{};
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    const HistoryEntry* entry = index.isValid() ? cached(index.row()) : nullptr;
    if (entry == nullptr) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return tr("%1  %2%3 = %4\n%5   %6")
                .arg(ShownTime(*entry),
                     entry->label.isEmpty() ? QString() : entry->label + QLatin1String("  "),
                     entry->expression, QString::number(entry->total),
                     entry->dice.section(QLatin1String(" = "), 1), chancesOf(*entry));
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

QString HistoryModel::ChancesText(double atLeast, double atMost) {
    return tr("top %1, bottom %2").arg(Percent(atLeast), Percent(atMost));
}

QString HistoryModel::SpokenText(const HistoryEntry& entry) {
    return entry.chancesKnown()
               ? tr("%1 Chances: %2.").arg(entry.spoken, ChancesText(entry.atLeast, entry.atMost))
               : entry.spoken;
}

QString HistoryModel::CopiedText(const HistoryEntry& entry) {
    QString text = ShownTime(entry) + QLatin1Char(' ') +
                   tr("%1 %2: %3").arg(entry.label, entry.expression, entry.dice).trimmed();
    if (entry.chancesKnown()) {
        text += QLatin1String(" (") + ChancesText(entry.atLeast, entry.atMost) + QLatin1Char(')');
    }
    return text;
}

QString HistoryModel::chancesOf(const HistoryEntry& entry) const {
    if (entry.chancesKnown()) {
        return ChancesText(entry.atLeast, entry.atMost);
    }
    return m_working ? tr("working out the chances\u2026") : QString();
}

void HistoryModel::chancesChanged() {
    m_pages.clear();
    showChances();
}

void HistoryModel::refresh() {
    m_pages.clear();
    appended();
    showChances();
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

void HistoryModel::appended() {
    // Rows are counted from the oldest roll kept: when that one goes (this
    // Alearo's prune or another's), every row moves up.
    const int firstId = m_store.firstId();
    if (firstId < m_firstId) {
        reset();  // the history was cleared since
        return;
    }
    if (firstId > m_firstId && m_count > 0) {
        removeOldest(std::min(firstId - m_firstId, m_count));
    }
    m_firstId = firstId;
    const int count = m_store.historyCount();
    if (count < m_count) {
        reset();
        return;
    }
    if (count > m_count) {
        // The last page may have been read short.
        m_pages.erase(m_count - m_count % kPageRows);
        beginInsertRows({}, rowCount(), count - m_first - 1);
        m_count = count;
        endInsertRows();
    }
}

// The oldest `removed` rolls are gone from the store: the rows shown of
// them go, and the others keep their place in the view.
void HistoryModel::removeOldest(int removed) {
    const int shownRemoved = std::clamp(removed - m_first, 0, rowCount());
    if (shownRemoved > 0) {
        beginRemoveRows({}, 0, shownRemoved - 1);
    }
    m_pages.clear();  // read by the store's numbering, which moved
    m_first = std::max(0, m_first - removed);
    m_count -= removed;
    if (shownRemoved > 0) {
        endRemoveRows();
    }
}

void HistoryModel::reset() {
    beginResetModel();
    m_pages.clear();
    m_count = m_store.historyCount();
    m_first = firstShown();
    m_firstId = m_store.firstId();
    endResetModel();
}

}  // namespace alearo
