// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

namespace alearo {

// A roll of the dice tray's history in two lines: when, its label and
// expression, and its total in bold, larger; below, its dice and how rare
// its total is.
class HistoryDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    static QFont TotalFont(const QFont& font);
};

}  // namespace alearo
