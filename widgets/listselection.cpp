#include "listselection.h"

#include <QItemSelectionModel>

namespace kst {

void KeepOneSelection(QListWidget* list) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
        QListWidgetItem* current = list->currentItem();
        // Selecting the current item again moves nothing, so no selection handler runs.
        if (current && list->selectedItems().isEmpty())
            current->setSelected(true);
    });
}

namespace {

// Every move of a list's current row passes through its selection model, whatever started it,
// so the question is asked there, before the row changes. The selected row follows the
// current one: a click that was refused would otherwise still select the row clicked.
class AskingSelection : public QItemSelectionModel {
public:
    AskingSelection(QListWidget* list, std::function<bool()> allowed)
        : QItemSelectionModel(list->model(), list), list_(list), allowed_(std::move(allowed)) {}

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
        const QModelIndex current = currentIndex();
        const bool moves = index.isValid() && current.isValid() && index.row() != current.row();
        // The program's own moves come with the list's signals blocked (SelectRow).
        if (moves && !list_->signalsBlocked() && !allowed_())
            return;
        QItemSelectionModel::setCurrentIndex(index, command);
        // A drag selects before it moves the current row, which the override below refuses.
        if (index.isValid() && !isSelected(index))
            select(index, ClearAndSelect);
    }

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override {
        if (command & (Select | Toggle))
            for (const QModelIndex& index : selection.indexes())
                if (index.row() != currentIndex().row())
                    return;
        QItemSelectionModel::select(selection, command);
    }

private:
    QListWidget* list_;
    std::function<bool()> allowed_;
};

} // namespace

void AskBeforeMoving(QListWidget* list, std::function<bool()> allowed) {
    QItemSelectionModel* replaced = list->selectionModel();
    list->setSelectionModel(new AskingSelection(list, std::move(allowed)));
    delete replaced;
}

} // namespace kst
