#include "protect/ui/TabbedListDelegate.h"

#include <QApplication>
#include <QPainter>

namespace vastel {

void TabbedListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const QString first = tab < 0 ? text : text.left(tab);
    const QString second = tab < 0 ? QString() : text.mid(tab + 1);
    const QRect r = opt.rect.adjusted(4, 0, -4, 0);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(
        opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
        opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetrics fm(opt.font);
    const QRect firstRect(r.left(), r.top(), std::min(tabStop_ - 8, r.width()), r.height());
    painter->drawText(firstRect, Qt::AlignVCenter | Qt::AlignLeft,
                      fm.elidedText(first, Qt::ElideRight, firstRect.width()));
    const QRect secondRect(r.left() + tabStop_, r.top(), r.width() - tabStop_, r.height());
    if (secondRect.width() > 0)
        painter->drawText(secondRect, Qt::AlignVCenter | Qt::AlignLeft,
                          fm.elidedText(second, Qt::ElideRight, secondRect.width()));
    painter->restore();
}

}  // namespace vastel
