#pragma once

#include <QStyledItemDelegate>

// Draws a unit's write under way as a progress bar in its cell, as Qt's
// torrent example does: painted with the row rather than a widget over it,
// so the row keeps its height at any scale and a redraw stays cheap.
class WriteBarDelegate : public QStyledItemDelegate
{
public:
    // The percent 0..100 of a write under way; none in a cell without one.
    static constexpr int PercentRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
