#include "listselection.h"

namespace kst {

void KeepOneSelection(QListWidget* list) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
        QListWidgetItem* current = list->currentItem();
        // Selecting the current item again moves nothing, so no selection handler runs.
        if (current && list->selectedItems().isEmpty())
            current->setSelected(true);
    });
}

} // namespace kst
