#include "fittingrows.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>
#include <algorithm>

namespace kst {

namespace {

class FittingRows : public QStyledItemDelegate {
public:
    explicit FittingRows(QAbstractItemView* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        // The frame's inside, which unlike the viewport has its size before the list is shown.
        const int fitting =
            list_->contentsRect().height() / std::max(1, list_->model()->rowCount());
        if (fitting >= option.fontMetrics.height())
            size.setHeight(std::min(size.height(), fitting));
        return size;
    }

private:
    const QAbstractItemView* list_;
};

} // namespace

void ShrinkRowsToFit(QAbstractItemView* list) {
    list->setItemDelegate(new FittingRows(list));
}

} // namespace kst
