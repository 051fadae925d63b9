#pragma once

#include <QStyledItemDelegate>

namespace vastel {

// Draws list rows of the form "pattern<TAB>description" as two columns, the second at a fixed
// tab stop.
class TabbedListDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit TabbedListDelegate(int tabStop, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), tabStop_(tabStop) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    int tabStop_;
};

}  // namespace vastel
