// SPDX-License-Identifier: MIT
#include "ui/widgets/distribution_chart.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "stats/chart_bins.h"

namespace alearo {

namespace {

QString PercentLabel(double chance, double step) {
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step * 100.0))));
    return QString::number(chance * 100.0, 'f', decimals) + QLatin1Char('%');
}

QColor Translucent(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
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

void DistributionChart::setData(const StatisticsModel::ChartSeries& data) {
    m_data = data;
    update();
}

QSize DistributionChart::sizeHint() const {
    return {560, 260};
}

QSize DistributionChart::minimumSizeHint() const {
    return {240, 140};
}

void DistributionChart::changeEvent(QEvent* event) {
    // A new palette (a dark theme, say) changes every colour drawn.
    if (event->type() == QEvent::PaletteChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void DistributionChart::paintEvent(QPaintEvent* /*event*/) {
    if (m_data.chances.empty()) {
        return;
    }
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int left = metrics.horizontalAdvance(QStringLiteral("100.00%")) + metrics.height() + 8;
    const ChanceSeries exact{m_data.firstTotal, m_data.chances};
    const ChanceSeries observed{m_data.firstTotal, m_data.observed};
    const ChanceSeries compared{m_data.comparedFirstTotal, m_data.compared};
    const int totalWidth =
        metrics.horizontalAdvance(QString::number(ChartAxis(exact, observed, compared).second));
    const QRect plot =
        rect().adjusted(left, metrics.height() * 2, -(totalWidth / 2 + 6), -metrics.height() * 3);
    if (plot.width() < 10 || plot.height() < 10) {
        return;
    }
    const ChartBins chart = BinChart(exact, observed, compared, plot.width());
    const int lo = chart.lowest;
    const int hi = chart.highest;
    const int count = hi - lo + 1;
    const int perBar = chart.perBar;
    const int bars = chart.bars();
    const double peak = chart.peak;
    const double yStep = NiceTickStep(peak, 4);
    const double yTop = std::ceil(peak / yStep) * yStep;
    const auto yOf = [&](double value) {
        return plot.bottom() - static_cast<int>(value / yTop * plot.height());
    };
    const auto xOf = [&](int bar) { return plot.left() + plot.width() * bar / bars; };

    const QPalette& colours = palette();
    const QColor text = colours.color(QPalette::Text);
    const QColor grid = colours.color(QPalette::Mid);
    const QColor exactColour = colours.color(QPalette::Highlight);
    const QColor observedColour = Translucent(text, 140);
    // The compared roll in the colour opposite the bars', whatever the theme.
    const QColor comparedColour = QColor::fromHsv((exactColour.hsvHue() + 180) % 360,
                                                  exactColour.hsvSaturation(), exactColour.value());

    for (double y = 0.0; y <= yTop * 1.0000001; y += yStep) {
        painter.setPen(grid);
        painter.drawLine(plot.left(), yOf(y), plot.right(), yOf(y));
        painter.setPen(text);
        painter.drawText(QRect(0, yOf(y) - metrics.height() / 2, left - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, PercentLabel(y, yStep));
    }

    const auto drawBars = [&](const std::vector<double>& heights, const QColor& colour,
                              double widthShare) {
        for (int bar = 0; bar < bars; ++bar) {
            const int x0 = xOf(bar);
            const int x1 = xOf(bar + 1);
            const int barWidth = std::max(1, static_cast<int>((x1 - x0) * widthShare));
            const int top = yOf(heights[static_cast<std::size_t>(bar)]);
            painter.fillRect(
                QRect(x0 + (x1 - x0 - barWidth) / 2, top, barWidth, plot.bottom() - top + 1),
                colour);
        }
    };
    drawBars(chart.exact, exactColour, perBar == 1 ? 0.8 : 1.0);
    if (!chart.observed.empty()) {
        drawBars(chart.observed, observedColour, perBar == 1 ? 0.45 : 1.0);
    }
    if (!chart.compared.empty()) {
        // A step line over the bars, so both rolls stay visible.
        QPolygon steps;
        for (int bar = 0; bar < bars; ++bar) {
            const int y = yOf(chart.compared[static_cast<std::size_t>(bar)]);
            steps << QPoint(xOf(bar), y) << QPoint(xOf(bar + 1), y);
        }
        painter.setPen(QPen(comparedColour, 2));
        painter.drawPolyline(steps);
    }

    // The total axis: ticks at round totals, each under the middle of its total.
    painter.setPen(text);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    const int wantedTicks = std::max(2, plot.width() / (totalWidth * 2 + 1));
    const int xStep = std::max(1, static_cast<int>(NiceTickStep(count, wantedTicks)));
    // The first round total at or above the lowest one (division rounds toward zero).
    const int firstTick = lo >= 0 ? (lo + xStep - 1) / xStep * xStep : -(-lo / xStep * xStep);
    for (int total = firstTick; total <= hi; total += xStep) {
        const double middle = (total - lo + 0.5) / count;
        const int x = plot.left() + static_cast<int>(middle * plot.width());
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
        const QString label = QString::number(total);
        painter.drawText(x - metrics.horizontalAdvance(label) / 2,
                         plot.bottom() + 4 + metrics.ascent(), label);
    }
    painter.drawText(
        QRect(plot.left(), plot.bottom() + metrics.height() + 6, plot.width(), metrics.height()),
        Qt::AlignHCenter, tr("Total"));
    const QString chanceTitle = perBar == 1
                                    ? tr("Chance of one total")
                                    : tr("Chance of one total, average of %1 per bar").arg(perBar);
    painter.save();
    painter.translate(metrics.height() / 2.0 + 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRect(-plot.height() / 2, -metrics.height() / 2, plot.height(), metrics.height()),
        Qt::AlignCenter, chanceTitle);
    painter.restore();

    // The legend, above the plot at its right.
    int x = plot.right();
    const int y = metrics.height() / 2;
    const int swatch = metrics.ascent();
    const auto legendEntry = [&](const QString& label, const QColor& colour) {
        x -= metrics.horizontalAdvance(label);
        painter.setPen(text);
        painter.drawText(x, y + metrics.ascent(), label);
        x -= swatch + 4;
        painter.fillRect(QRect(x, y + (metrics.height() - swatch) / 2, swatch, swatch), colour);
        x -= 16;
    };
    if (!chart.compared.empty()) {
        legendEntry(m_data.comparedName, comparedColour);
    }
    if (!chart.observed.empty()) {
        legendEntry(tr("Share of the last Roll"), observedColour);
    }
    legendEntry(tr("Exact chance"), exactColour);
}

}  // namespace alearo
