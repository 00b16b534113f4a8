#pragma once

#include "core/valuemodel.h"

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace kst {

class Host;
class ValuesTable;

// View > All Values: every value of the open image in one table beside the main window, to be
// read, sorted, filtered, copied to a spreadsheet and edited many at once. Apply hands the edited
// rows to the main window, which writes them as one step.
class AllValuesWindow : public QWidget {
    Q_OBJECT

public:
    using Apply = std::function<void(const std::vector<Value>&)>;

    AllValuesWindow(QWidget* mainWindow, Host& host, Apply apply);

    // Shows the numbers of the image as it is now in the file.
    void Load(const QByteArray& image);
    QStringList UnappliedValues() const;
    void Revert();

    QTableView* View() const { return view_; }
    // The selected cells as tab-separated lines, as a spreadsheet copies them.
    QString SelectedText() const;
    // Types a block of tab-separated numbers into the New column from the current cell down;
    // returns the refusal shown, or an empty string when every cell was taken.
    QString Paste(const QString& text);

private:
    void ShowEditCount();

    Host& host_;
    ValuesTable* table_;
    QSortFilterProxyModel* filtered_;
    QTableView* view_;
    QLineEdit* filter_;
    QLabel* count_;
    QPushButton* apply_;
    QPushButton* revert_;
};

} // namespace kst
