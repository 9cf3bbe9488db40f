// SPDX-License-Identifier: MIT
#include "ui/widgets/distribution_chart.h"

#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace alearo {

namespace {

const QColor kExactColour(0x8e, 0x1b, 0x1b);          // the dice's red
const QColor kObservedColour(0x1f, 0x6f, 0xb5, 170);  // a translucent blue over it

// The chance of the totals that fall on pixel column `column` of `columns`:
// a bar that stands for several totals stands for the chance of any of them,
// so the exact chances and the rolled shares stay comparable.
double ColumnChance(const std::vector<double>& values, int column, int columns) {
    const auto count = static_cast<long long>(values.size());
    const auto first = count * column / columns;
    const auto last = std::max(first + 1, count * (column + 1) / columns);
    return std::accumulate(values.begin() + first, values.begin() + last, 0.0);
}

QString PercentLabel(double chance, double step) {
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step * 100.0))));
    return QString::number(chance * 100.0, 'f', decimals) + QLatin1Char('%');
}

}  // namespace

double NiceTickStep(double span, int wanted) {
    if (!(span > 0.0) || wanted < 1) {
        return 1.0;
    }
    const double rough = span / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

DistributionChart::DistributionChart(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void DistributionChart::setData(int firstTotal, std::vector<double> chances,
                                std::vector<double> observed) {
    m_firstTotal = firstTotal;
    m_chances = std::move(chances);
    m_observed = std::move(observed);
    update();
}

QSize DistributionChart::sizeHint() const {
    return {560, 260};
}

QSize DistributionChart::minimumSizeHint() const {
    return {240, 140};
}

void DistributionChart::paintEvent(QPaintEvent* /*event*/) {
    if (m_chances.empty()) {
        return;
    }
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // The plot area leaves room for the tick labels, the axis titles and the
    // legend: the left margin is as wide as the widest chance label.
    const int count = static_cast<int>(m_chances.size());
    const int lastTotal = m_firstTotal + count - 1;
    const int totalWidth = metrics.horizontalAdvance(QString::number(lastTotal));
    const int left = metrics.horizontalAdvance(QStringLiteral("100.00%")) + metrics.height() + 8;
    const QRect plot =
        rect().adjusted(left, metrics.height() * 2, -(totalWidth / 2 + 6), -metrics.height() * 3);
    if (plot.width() < 10 || plot.height() < 10) {
        return;
    }
    const int columns = std::min(count, plot.width());
    double peak = 0.0;
    for (int c = 0; c < columns; ++c) {
        peak = std::max({peak, ColumnChance(m_chances, c, columns),
                         m_observed.empty() ? 0.0 : ColumnChance(m_observed, c, columns)});
    }
    const double yStep = NiceTickStep(peak, 4);
    const double yTop = std::ceil(peak / yStep) * yStep;
    auto yOf = [&](double value) { return plot.bottom() - int(value / yTop * plot.height()); };

    const QColor text = palette().color(QPalette::Text);
    const QColor grid = palette().color(QPalette::Mid);
    painter.setPen(grid);
    for (double y = 0.0; y <= yTop * 1.0000001; y += yStep) {
        painter.drawLine(plot.left(), yOf(y), plot.right(), yOf(y));
        painter.setPen(text);
        const QString label = PercentLabel(y, yStep);
        painter.drawText(QRect(0, yOf(y) - metrics.height() / 2, left - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
        painter.setPen(grid);
    }

    // One bar per total, or per pixel column when the totals outnumber them.
    auto drawBars = [&](const std::vector<double>& values, const QColor& colour,
                        double widthShare) {
        for (int c = 0; c < columns; ++c) {
            const int x0 = plot.left() + plot.width() * c / columns;
            const int x1 = plot.left() + plot.width() * (c + 1) / columns;
            const int barWidth = std::max(1, int((x1 - x0) * widthShare));
            const int top = yOf(ColumnChance(values, c, columns));
            painter.fillRect(
                QRect(x0 + (x1 - x0 - barWidth) / 2, top, barWidth, plot.bottom() - top + 1),
                colour);
        }
    };
    drawBars(m_chances, kExactColour, columns == count ? 0.8 : 1.0);
    if (!m_observed.empty()) {
        drawBars(m_observed, kObservedColour, columns == count ? 0.45 : 1.0);
    }

    // The total axis: ticks at round totals, each under the middle of its bar.
    painter.setPen(text);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    const int wantedTicks = std::max(2, plot.width() / (totalWidth * 2));
    const int xStep = std::max(1, int(NiceTickStep(count, wantedTicks)));
    // The first round total at or above the lowest one (division rounds toward zero).
    const int firstTick = m_firstTotal >= 0 ? (m_firstTotal + xStep - 1) / xStep * xStep
                                            : -(-m_firstTotal / xStep * xStep);
    for (int total = firstTick; total <= lastTotal; total += xStep) {
        const double middle = (total - m_firstTotal + 0.5) / count;
        const int x = plot.left() + int(middle * plot.width());
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
        const QString label = QString::number(total);
        painter.drawText(x - metrics.horizontalAdvance(label) / 2,
                         plot.bottom() + 4 + metrics.ascent(), label);
    }
    painter.drawText(
        QRect(plot.left(), plot.bottom() + metrics.height() + 6, plot.width(), metrics.height()),
        Qt::AlignHCenter, tr("Total"));
    painter.save();
    painter.translate(metrics.height() / 2.0 + 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRect(-plot.height() / 2, -metrics.height() / 2, plot.height(), metrics.height()),
        Qt::AlignCenter, tr("Chance"));
    painter.restore();

    // The legend, above the plot at its right.
    const QString exactLabel = tr("Exact chance");
    const QString observedLabel = tr("Share of the last Roll");
    int x = plot.right();
    const int y = metrics.height() / 2;
    const int swatch = metrics.ascent();
    auto legendEntry = [&](const QString& label, const QColor& colour) {
        x -= metrics.horizontalAdvance(label);
        painter.drawText(x, y + metrics.ascent(), label);
        x -= swatch + 4;
        painter.fillRect(QRect(x, y + (metrics.height() - swatch) / 2, swatch, swatch), colour);
        x -= 16;
    };
    if (!m_observed.empty()) {
        legendEntry(observedLabel, kObservedColour);
    }
    legendEntry(exactLabel, kExactColour);
}

}  // namespace alearo
