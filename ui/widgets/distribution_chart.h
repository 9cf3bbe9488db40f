// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <vector>

namespace alearo {

// A bar chart of the chance of every total, with the share each total had
// among rolled results drawn over it when there are any. Totals that fall on
// one pixel column share one bar, the chance of any of them, so a chart of
// ten thousand totals keeps its shape at any width.
class DistributionChart : public QWidget {
    Q_OBJECT

  public:
    explicit DistributionChart(QWidget* parent = nullptr);

    // Chances of the totals firstTotal, firstTotal + 1, ...; `observed`
    // holds the shares of the same totals, or nothing.
    void setData(int firstTotal, std::vector<double> chances, std::vector<double> observed);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    int firstTotal() const { return m_firstTotal; }
    const std::vector<double>& chances() const { return m_chances; }
    const std::vector<double>& observed() const { return m_observed; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_firstTotal = 0;
    std::vector<double> m_chances;
    std::vector<double> m_observed;
};

// A step for about `wanted` axis ticks over `span`: 1, 2 or 5 times a power
// of ten, so the tick labels read as round numbers.
double NiceTickStep(double span, int wanted);

}  // namespace alearo
