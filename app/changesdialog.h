#pragma once

#include "core/imagediff.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <vector>

namespace kst {

// A modal list of what differs between two images, grouped by page, under a line that says
// which images, with the buttons below: the compare window and the preview of a patch. The
// list takes the keyboard focus first; each page is a branch and each value a line of it, which
// a screen reader reads as it is shown.
class ChangesDialog : public QDialog {
    Q_OBJECT

public:
    ChangesDialog(QWidget* parent, const QString& title, const QString& summary,
                  const std::vector<DiffGroup>& groups);

    QPushButton* AddButton(const QString& text, QDialogButtonBox::ButtonRole role);

private:
    QDialogButtonBox* buttons_;
};

} // namespace kst
