// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include "ui/model/statistics_model.h"

namespace alearo {

// A bar chart of the chance of every total, with the share each total had
// among the last Roll's totals drawn over it, and a compared expression's
// chances as a line. The horizontal axis spans the totals that hold all but
// a billionth of the chance (and any total rolled). When the totals outnumber
// the pixel columns, each bar stands for several neighbouring totals and is as
// high as their average chance, so the axis still reads "chance of one total"
// and its title says how many totals a bar holds.
class DistributionChart : public QWidget {
    Q_OBJECT

  public:
    explicit DistributionChart(QWidget* parent = nullptr);

    void setData(const StatisticsModel::ChartSeries& data);
    const StatisticsModel::ChartSeries& data() const { return m_data; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    StatisticsModel::ChartSeries m_data;
};

// A step for about `wanted` axis ticks over `span`: 1, 2 or 5 times a power
// of ten, so the tick labels read as round numbers.
double NiceTickStep(double span, int wanted);

}  // namespace alearo
