// SPDX-License-Identifier: MIT
#include "ui/widgets/history_delegate.h"

#include <QApplication>
#include <QPainter>

namespace alearo {

namespace {

constexpr int kMargin = 4;
constexpr double kTotalScale = 1.25;

}  // namespace

QFont HistoryDelegate::TotalFont(const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    bold.setPointSizeF(font.pointSizeF() * kTotalScale);
    return bold;
}

void HistoryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* view = option.widget;
    QStyle* style = view != nullptr ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, view);

    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette::ColorRole ink = selected ? QPalette::HighlightedText : QPalette::Text;
    const QFont totalFont = TotalFont(option.font);
    const QFontMetrics plain(option.font), large(totalFont);
    const QRect area = option.rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const int baseline = area.top() + large.ascent();

    // The model's two lines, the first ending in " = " and the total.
    const QString text = index.data().toString();
    const QString first = text.section(QLatin1Char('\n'), 0, 0);
    const QString total = first.mid(first.lastIndexOf(QLatin1String(" = ")) + 1);
    const QString shownHead =
        plain.elidedText(first.left(first.size() - total.size()), Qt::ElideRight,
                         area.width() - large.horizontalAdvance(total));

    painter->save();
    painter->setPen(option.palette.color(ink));
    painter->setFont(option.font);
    painter->drawText(area.left(), baseline, shownHead);
    painter->setFont(totalFont);
    painter->drawText(area.left() + plain.horizontalAdvance(shownHead), baseline, total);

    painter->setFont(option.font);
    if (!selected) {
        painter->setPen(option.palette.color(QPalette::PlaceholderText));
    }
    painter->drawText(
        area.left(), baseline + large.descent() + plain.ascent() + kMargin / 2,
        plain.elidedText(text.section(QLatin1Char('\n'), 1), Qt::ElideMiddle, area.width()));
    painter->restore();
}

QSize HistoryDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& /*index*/) const {
    const QFontMetrics plain(option.font), large(TotalFont(option.font));
    return {plain.averageCharWidth() * 30,
            large.height() + plain.height() + 2 * kMargin + kMargin / 2};
}

}  // namespace alearo
