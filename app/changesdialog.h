#pragma once

#include "core/imagediff.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

namespace kst {

// A list of what differs between two images, grouped by page, under a line that says which
// images, with the buttons below: the compare window and the preview of a patch. The list takes
// the keyboard focus first; each page is a branch and each value a line of it, which a screen
// reader reads as it is shown.
class ChangesDialog : public QDialog {
    Q_OBJECT

public:
    ChangesDialog(QWidget* parent, const QString& title, const QString& summary,
                  const std::vector<DiffGroup>& groups);

    QPushButton* AddButton(const QString& text, QDialogButtonBox::ButtonRole role);
    // Lists these groups instead, keeping the value chosen on its line if it is still listed.
    void List(const std::vector<DiffGroup>& groups);
    // A line of its own below the list, shown while it is not empty.
    void SetNote(const QString& note);
    // What Enter or a double-click on a value's line does with that value; set once the buttons
    // are added.
    void OnValueChosen(const std::function<void(const ValueKind&, int index)>& chosen);

private:
    QTreeWidget* list_;
    QLabel* note_;
    QDialogButtonBox* buttons_;
};

} // namespace kst
