// SPDX-License-Identifier: MIT
#include "ui/model/chance_table_model.h"

#include "stats/distribution_table.h"

namespace alearo {

namespace {

constexpr int kColumnsOfOne = 3;  // chance, at least, at most

}  // namespace

void ChanceTableModel::setDistributions(const TotalDistribution& distribution,
                                        const std::optional<TotalDistribution>& compared) {
    beginResetModel();
    m_distribution = distribution;
    m_compared = compared;
    const auto [first, last] = TotalsOfBoth(m_distribution, m_compared ? &*m_compared : nullptr);
    m_firstTotal = first;
    m_rows = last - first + 1;
    m_decimals = TableDecimals(m_distribution.exactly, m_distribution.relativeError);
    m_comparedDecimals =
        m_compared ? TableDecimals(m_compared->exactly, m_compared->relativeError) : 0;
    endResetModel();
}

int ChanceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || m_distribution.exactly.empty() ? 0 : m_rows;
}

int ChanceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1 + kColumnsOfOne * (m_compared ? 2 : 1);
}

QVariant ChanceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const int total = m_firstTotal + index.row();
    if (index.column() == 0) {
        return total;
    }
    const int column = index.column() - 1;
    const bool ofForm = column < kColumnsOfOne;
    const TotalDistribution& d = ofForm ? m_distribution : *m_compared;
    if (!d.knows(total)) {
        // Past the listed totals of a side without end.
        return QString();
    }
    const Chance chance = column % kColumnsOfOne == 0   ? d.chanceOf(total)
                          : column % kColumnsOfOne == 1 ? d.chanceAtLeast(total)
                                                        : d.chanceAtMost(total);
    return QString::fromStdString(
        PercentText(chance, ofForm ? m_decimals : m_comparedDecimals, d.relativeError));
}

QVariant ChanceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    switch (section) {
        case 0:
            return tr("Total");
        case 1:
            return tr("Chance");
        case 2:
            return tr("At least");
        case 3:
            return tr("At most");
        case 4:
            return tr("Compared chance");
        case 5:
            return tr("Compared at least");
        default:
            return tr("Compared at most");
    }
}

}  // namespace alearo
