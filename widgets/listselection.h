#pragma once

#include <QListWidget>
#include <QSignalBlocker>
#include <functional>

namespace kst {

// Selects a row of a list for the program and runs the list's selection handler just as a
// click on that row does, also when the row was already selected, so every value shown comes
// from the file open now. The handler is called directly rather than through the list's
// signal, so that the end of the program can leave it like any other function.
template <typename Handler> void SelectRow(QListWidget* list, int row, Handler&& handler) {
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(row);
    }
    handler();
}

// Once a list has a current row, it stays selected: Ctrl+Space and Ctrl+click on the selected
// row would otherwise leave the list without a selection while its box still shows that row.
void KeepOneSelection(QListWidget* list);

// Runs allowed() before the user moves the list to another row, by mouse, keyboard or an
// assistive technology, and before anything moves: when it returns false, the row, its
// selection and what the page shows stay as they were. SelectRow is never asked.
void AskBeforeMoving(QListWidget* list, std::function<bool()> allowed);

} // namespace kst
