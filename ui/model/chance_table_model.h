// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <optional>

#include "stats/roll_distribution.h"

namespace alearo {

// The chance of every total, of at least it and of at most it, as
// percentages for a table view, with the same three for a compared roll when
// there is one; the rows are read from the distributions on demand, so ten
// thousand totals cost nothing until they are shown.
class ChanceTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setDistributions(const TotalDistribution& distribution,
                          const std::optional<TotalDistribution>& compared);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    TotalDistribution m_distribution;
    std::optional<TotalDistribution> m_compared;
    int m_firstTotal = 0;
    int m_rows = 0;
    int m_decimals = 2;
    int m_comparedDecimals = 2;
};

}  // namespace alearo
