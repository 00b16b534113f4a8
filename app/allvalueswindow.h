#pragma once

#include "core/valuemodel.h"

#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace kst {

class ProgramControl;
class ValuesTable;

// View > All Values: every value of the open image in one table beside the main window, to be
// read, sorted, filtered, copied to a spreadsheet and edited many at once. Apply hands the edited
// values to the main window, which writes them as one step and loads the table again.
class AllValuesWindow : public QWidget {
    Q_OBJECT

public:
    using Apply = std::function<void(const std::vector<Value>& edits)>;

    AllValuesWindow(QWidget* mainWindow, ProgramControl& control, Apply apply);

    // Shows the numbers of the image as it is now in the file, keeping the typed ones.
    void Load(const QByteArray& image);
    std::vector<Value> Edits() const;
    QStringList UnappliedValues() const;
    void Revert();

    // The selected cells as tab-separated lines, as a spreadsheet copies them.
    QString SelectedText() const;
    // Types a block of tab-separated numbers into the New column from the current cell down, all
    // or nothing; a refusal is shown, naming the cell and the reason.
    void Paste(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowEditCount();
    // Why the lines cannot be pasted from the current cell down, or an empty string; cells gets
    // the table's rows and their text.
    QString PasteCells(const QStringList& lines, std::vector<std::pair<int, QString>>& cells) const;

    ProgramControl& control_;
    ValuesTable* table_;
    QSortFilterProxyModel* filtered_;
    QTableView* view_;
    QLineEdit* filter_;
    QLabel* count_;
    QPushButton* apply_;
    QPushButton* revert_;
};

} // namespace kst
