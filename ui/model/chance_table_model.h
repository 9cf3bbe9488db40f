// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>

#include "stats/total_distribution.h"

namespace alearo {

// The chance of every total, of at least it and of at most it, as
// percentages for a table view; the rows are read from the distribution on
// demand, so ten thousand totals cost nothing until they are shown.
class ChanceTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { TotalColumn, ChanceColumn, AtLeastColumn, AtMostColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setDistribution(const TotalDistribution& distribution);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    TotalDistribution m_distribution;
    int m_decimals = 2;
};

}  // namespace alearo
