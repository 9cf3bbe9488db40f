#include "ui/windows/stats_table_model.h"

#include "stats/distribution_table.h"

namespace alearo {

namespace {

constexpr int kFewestDecimals = 2;
constexpr int kMostDecimals = 12;

}  // namespace

void StatsTableModel::SetDistribution(const TotalDistribution& distribution) {
    beginResetModel();
    m_distribution = distribution;
    m_decimals = DecimalsToTellApart(m_distribution.exactly, kFewestDecimals, kMostDecimals);
    endResetModel();
}

int StatsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_distribution.exactly.size());
}

int StatsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant StatsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    const int total = m_distribution.minTotal + index.row();
    switch (index.column()) {
        case 0:
            return total;
        case 1:
            return QString::fromStdString(PercentText(m_distribution.Exactly(total), m_decimals));
        case 2:
            return QString::fromStdString(PercentText(m_distribution.AtLeast(total), m_decimals));
        default:
            return QString::fromStdString(PercentText(m_distribution.AtMost(total), m_decimals));
    }
}

QVariant StatsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    static const char* const kTitles[] = {"Total", "Chance", "At least", "At most"};
    return QString::fromLatin1(kTitles[section]);
}

}  // namespace alearo
