// SPDX-License-Identifier: MIT
#include "ui/widgets/distribution_chart.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace alearo {

namespace {

// The chance left out of the horizontal axis, both ends together.
constexpr double kTailLeftOut = 1e-9;

// The chances of the totals from `first` on.
struct Series {
    int first = 0;
    const std::vector<double>* chances = nullptr;

    int last() const { return first + static_cast<int>(chances->size()) - 1; }
    bool empty() const { return chances == nullptr || chances->empty(); }
    double at(int total) const {
        return total < first || total > last()
                   ? 0.0
                   : (*chances)[static_cast<std::size_t>(total - first)];
    }
};

// The totals that hold all but kTailLeftOut of the chance.
std::pair<int, int> BulkOf(const Series& series) {
    const std::vector<double>& chances = *series.chances;
    std::size_t low = 0;
    for (double tail = 0.0; low + 1 < chances.size() && tail + chances[low] <= kTailLeftOut / 2;
         ++low) {
        tail += chances[low];
    }
    std::size_t high = chances.size() - 1;
    for (double tail = 0.0; high > low && tail + chances[high] <= kTailLeftOut / 2; --high) {
        tail += chances[high];
    }
    return {series.first + static_cast<int>(low), series.first + static_cast<int>(high)};
}

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
    const Series exact{m_data.firstTotal, &m_data.chances};
    const Series observed{m_data.firstTotal, &m_data.observed};
    const Series compared{m_data.comparedFirstTotal, &m_data.compared};
    if (exact.empty()) {
        return;
    }
    auto [lo, hi] = BulkOf(exact);
    if (!compared.empty()) {
        const auto [cLo, cHi] = BulkOf(compared);
        lo = std::min(lo, cLo);
        hi = std::max(hi, cHi);
    }
    for (int total = exact.first; !observed.empty() && total <= exact.last(); ++total) {
        if (observed.at(total) > 0.0) {
            lo = std::min(lo, total);
            hi = std::max(hi, total);
        }
    }

    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int count = hi - lo + 1;
    const int totalWidth = metrics.horizontalAdvance(QString::number(hi));
    const int left = metrics.horizontalAdvance(QStringLiteral("100.00%")) + metrics.height() + 8;
    const QRect plot =
        rect().adjusted(left, metrics.height() * 2, -(totalWidth / 2 + 6), -metrics.height() * 3);
    if (plot.width() < 10 || plot.height() < 10) {
        return;
    }
    // Each bar holds `perBar` neighbouring totals (the last one maybe fewer).
    const int perBar = (count + plot.width() - 1) / plot.width();
    const int bars = (count + perBar - 1) / perBar;
    const auto barValue = [&](const Series& series, int bar) {
        const int first = lo + bar * perBar;
        const int last = std::min(hi, first + perBar - 1);
        double sum = 0.0;
        for (int total = first; total <= last; ++total) {
            sum += series.at(total);
        }
        return sum / (last - first + 1);
    };
    double peak = 0.0;
    for (int bar = 0; bar < bars; ++bar) {
        for (const Series* series : {&exact, &observed, &compared}) {
            peak = series->empty() ? peak : std::max(peak, barValue(*series, bar));
        }
    }
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

    const auto drawBars = [&](const Series& series, const QColor& colour, double widthShare) {
        for (int bar = 0; bar < bars; ++bar) {
            const int x0 = xOf(bar);
            const int x1 = xOf(bar + 1);
            const int barWidth = std::max(1, static_cast<int>((x1 - x0) * widthShare));
            const int top = yOf(barValue(series, bar));
            painter.fillRect(
                QRect(x0 + (x1 - x0 - barWidth) / 2, top, barWidth, plot.bottom() - top + 1),
                colour);
        }
    };
    drawBars(exact, exactColour, perBar == 1 ? 0.8 : 1.0);
    if (!observed.empty()) {
        drawBars(observed, observedColour, perBar == 1 ? 0.45 : 1.0);
    }
    if (!compared.empty()) {
        // A step line over the bars, so both rolls stay visible.
        QPolygon steps;
        for (int bar = 0; bar < bars; ++bar) {
            const int y = yOf(barValue(compared, bar));
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
    if (!compared.empty()) {
        legendEntry(m_data.comparedName, comparedColour);
    }
    if (!observed.empty()) {
        legendEntry(tr("Share of the last Roll"), observedColour);
    }
    legendEntry(tr("Exact chance"), exactColour);
}

}  // namespace alearo
