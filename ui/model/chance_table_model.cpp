// SPDX-License-Identifier: MIT
#include "ui/model/chance_table_model.h"

#include "stats/distribution_table.h"

namespace alearo {

namespace {

constexpr int kFewestDecimals = 2;
constexpr int kMostDecimals = 12;

}  // namespace

void ChanceTableModel::setDistribution(const TotalDistribution& distribution) {
    beginResetModel();
    m_distribution = distribution;
    m_decimals = DecimalsToTellApart(m_distribution.exactly, kFewestDecimals, kMostDecimals);
    endResetModel();
}

int ChanceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_distribution.exactly.size());
}

int ChanceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
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
    const int total = m_distribution.minTotal + index.row();
    const auto percent = [this](double chance) {
        return QString::fromStdString(PercentText(chance, m_decimals));
    };
    switch (index.column()) {
        case TotalColumn:
            return total;
        case ChanceColumn:
            return percent(m_distribution.Exactly(total));
        case AtLeastColumn:
            return percent(m_distribution.AtLeast(total));
        default:
            return percent(m_distribution.AtMost(total));
    }
}

QVariant ChanceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    switch (section) {
        case TotalColumn:
            return tr("Total");
        case ChanceColumn:
            return tr("Chance");
        case AtLeastColumn:
            return tr("At least");
        default:
            return tr("At most");
    }
}

}  // namespace alearo
