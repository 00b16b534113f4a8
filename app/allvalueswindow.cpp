#include "allvalueswindow.h"

#include "core/messages.h"
#include "valuestable.h"
#include "widgets/numberbox.h"
#include "widgets/programcontrol.h"
#include "widgets/widgets.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace kst {

namespace {

// The New column's editor keeps the pages' rule for typed numbers: digits only, and a number
// above the value's highest becomes that highest, so the cell takes what the editor shows.
class NumberDelegate : public QStyledItemDelegate {
public:
    NumberDelegate(ValuesTable* table, QSortFilterProxyModel* filtered, QObject* parent)
        : QStyledItemDelegate(parent), table_(table), filtered_(filtered) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        line->setInputMethodHints(Qt::ImhDigitsOnly);
        const int highest = table_->Highest(filtered_->mapToSource(index).row());
        connect(line, &QLineEdit::textChanged, line, [line, highest](const QString& text) {
            const QString ruled = NumberBox::Ruled(text, highest);
            if (ruled != text)
                line->setText(ruled);
        });
        return line;
    }
    // An emptied cell counts as 0, as an emptied box on the pages does.
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, NumberBox::NumberIn(static_cast<QLineEdit*>(editor)->text()));
    }

private:
    ValuesTable* table_;
    QSortFilterProxyModel* filtered_;
};

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

AllValuesWindow::AllValuesWindow(QWidget* mainWindow, ProgramControl& control, Apply apply)
    : QWidget(mainWindow, Qt::Window), control_(control), table_(new ValuesTable(this)),
      filtered_(new QSortFilterProxyModel(this)), view_(new QTableView(this)),
      filter_(new QLineEdit(this)), count_(new QLabel(this)),
      apply_(Button(tabletext::kApply, "AllValuesApplyCMD", this)),
      revert_(Button(tabletext::kRevert, "AllValuesRevertCMD", this)) {
    setObjectName(QStringLiteral("AllValuesDLG"));
    setWindowTitle(tabletext::kTitle);
    filtered_->setSourceModel(table_);
    filtered_->setFilterKeyColumn(-1);
    filtered_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filtered_->setSortRole(ValuesTable::kSortRole);
    view_->setObjectName(QStringLiteral("AllValuesTBL"));
    view_->setAccessibleName(tabletext::kTableName);
    view_->setModel(filtered_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder);
    view_->setItemDelegateForColumn(ValuesTable::New, new NumberDelegate(table_, filtered_, view_));
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->installEventFilter(this);

    filter_->setObjectName(QStringLiteral("AllValuesFilterTXT"));
    filter_->setAccessibleName(tabletext::kFilterName);
    filter_->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(tabletext::kFilterLabel, this);
    filterLabel->setBuddy(filter_);
    connect(filter_, &QLineEdit::textChanged, filtered_,
            &QSortFilterProxyModel::setFilterFixedString);

    control_.Connect(apply_, &QPushButton::clicked, this, [this, apply] { apply(Edits()); });
    connect(revert_, &QPushButton::clicked, this, [this] { Revert(); });
    connect(table_, &ValuesTable::EditsChanged, this, [this] { ShowEditCount(); });

    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(filter_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_, 1);
    bottom->addWidget(revert_);
    bottom->addWidget(apply_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_);
    layout->addLayout(bottom);
    resize(980, 560);
    ShowEditCount();
}

bool AllValuesWindow::eventFilter(QObject* watched, QEvent* event) {
    // Ahead of the view, which would copy the current cell alone and paste nothing.
    if (watched != view_ || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy))
        QApplication::clipboard()->setText(SelectedText());
    else if (key->matches(QKeySequence::Paste))
        control_.Handle([this] { Paste(QApplication::clipboard()->text()); });
    else
        return false;
    return true;
}

void AllValuesWindow::Load(const QByteArray& image) {
    // Fitted once, to the first image: the view's fitting asks the style about every cell, which
    // takes longer than the rest of the window together, and the user may widen a column.
    const bool first = table_->rowCount() == 0;
    table_->Load(image);
    if (first)
        view_->resizeColumnsToContents();
}

std::vector<Value> AllValuesWindow::Edits() const {
    return table_->Edits();
}

QStringList AllValuesWindow::UnappliedValues() const {
    return table_->UnappliedValues();
}

void AllValuesWindow::Revert() {
    table_->Revert();
}

void AllValuesWindow::ShowEditCount() {
    const int edits = int(table_->Edits().size());
    count_->setText(tabletext::EditCount(edits));
    apply_->setEnabled(edits > 0);
    revert_->setEnabled(edits > 0);
}

QString AllValuesWindow::SelectedText() const {
    QModelIndexList cells = view_->selectionModel()->selectedIndexes();
    std::sort(cells.begin(), cells.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return std::make_pair(a.row(), a.column()) < std::make_pair(b.row(), b.column());
    });
    QString text;
    for (int i = 0; i < cells.size(); ++i) {
        if (i > 0)
            text += cells[i].row() == cells[i - 1].row() ? QLatin1Char('\t') : QLatin1Char('\n');
        text += cells[i].data().toString();
    }
    return text.isEmpty() ? text : text + QLatin1Char('\n');
}

QString AllValuesWindow::PasteCells(const QStringList& lines,
                                    std::vector<std::pair<int, QString>>& cells) const {
    const QModelIndex start = view_->currentIndex();
    if (!start.isValid() || start.column() != ValuesTable::New || lines.isEmpty())
        return tabletext::kPasteWhere;
    if (lines.size() > filtered_->rowCount() - start.row())
        return tabletext::PastePastEnd(lines.size());
    for (int line = 0; line < lines.size(); ++line) {
        if (lines[line].contains(QLatin1Char('\t')))
            return tabletext::kPasteOneColumn;
        const QModelIndex cell = filtered_->index(start.row() + line, ValuesTable::New);
        cells.emplace_back(filtered_->mapToSource(cell).row(), lines[line]);
    }
    return {};
}

void AllValuesWindow::Paste(const QString& text) {
    // A spreadsheet ends every line, the last too, and may end them with CR LF.
    QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    std::vector<std::pair<int, QString>> cells;
    QString refusal = PasteCells(lines, cells);
    if (refusal.isEmpty())
        refusal = table_->TypeIn(cells);
    if (!refusal.isEmpty())
        control_.Desktop().ShowMessage(this, tabletext::PasteRefusedMessage(refusal));
}

} // namespace kst
