#include "allvalueswindow.h"

#include "valuestable.h"
#include "widgets/host.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace kst {

namespace {

// The New column's editor takes digits up to the value's own highest number, as the pages' boxes
// and sliders do.
class NumberDelegate : public QStyledItemDelegate {
public:
    NumberDelegate(ValuesTable* table, QSortFilterProxyModel* filtered, QObject* parent)
        : QStyledItemDelegate(parent), table_(table), filtered_(filtered) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const int row = filtered_->mapToSource(index).row();
            line->setValidator(new QIntValidator(0, table_->RowValue(row).kind->maximum, line));
        }
        return editor;
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

AllValuesWindow::AllValuesWindow(QWidget* mainWindow, Host& host, Apply apply)
    : QWidget(mainWindow, Qt::Window), host_(host), table_(new ValuesTable(this)),
      filtered_(new QSortFilterProxyModel(this)), view_(new QTableView(this)),
      filter_(new QLineEdit(this)), count_(new QLabel(this)),
      apply_(Button(QStringLiteral("&Apply"), "AllApplyCMD", this)),
      revert_(Button(QStringLiteral("&Revert"), "AllRevertCMD", this)) {
    setObjectName(QStringLiteral("AllValuesWindow"));
    setWindowTitle(QStringLiteral("All Values"));
    filtered_->setSourceModel(table_);
    filtered_->setFilterKeyColumn(-1);
    filtered_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filtered_->setSortRole(ValuesTable::kSortRole);
    view_->setObjectName(QStringLiteral("AllValuesTBL"));
    view_->setAccessibleName(QStringLiteral("All values"));
    view_->setModel(filtered_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder);
    view_->setItemDelegateForColumn(ValuesTable::New, new NumberDelegate(table_, filtered_, view_));
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->horizontalHeader()->setStretchLastSection(true);

    filter_->setObjectName(QStringLiteral("AllFilterTXT"));
    filter_->setPlaceholderText(QStringLiteral("Filter"));
    filter_->setAccessibleName(QStringLiteral("Filter the values"));
    filter_->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(filter_);
    connect(filter_, &QLineEdit::textChanged, filtered_,
            &QSortFilterProxyModel::setFilterFixedString);

    auto* copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this,
            [this] { QApplication::clipboard()->setText(SelectedText()); });
    auto* paste = new QAction(this);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(paste, &QAction::triggered, this,
            [this] { Paste(QApplication::clipboard()->text()); });
    view_->addActions({copy, paste});

    connect(apply_, &QPushButton::clicked, this, [this, apply] { apply(table_->Edits()); });
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
    resize(820, 560);
    ShowEditCount();
}

void AllValuesWindow::Load(const QByteArray& image) {
    table_->Load(image);
}

QStringList AllValuesWindow::UnappliedValues() const {
    return table_->UnappliedValues();
}

void AllValuesWindow::Revert() {
    table_->Revert();
}

void AllValuesWindow::ShowEditCount() {
    const int edits = int(table_->Edits().size());
    count_->setText(edits == 0   ? QStringLiteral("No value edited")
                    : edits == 1 ? QStringLiteral("1 value edited, not yet applied")
                                 : QStringLiteral("%1 values edited, not yet applied").arg(edits));
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

QString AllValuesWindow::Paste(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line.remove(QLatin1Char('\r'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QModelIndex start = view_->currentIndex();
    QString refusal;
    std::vector<std::pair<int, QString>> cells;
    if (!start.isValid() || lines.isEmpty()) {
        refusal = QStringLiteral("Select the New cell of the first value to paste into.");
    } else if (lines.size() > filtered_->rowCount() - start.row()) {
        refusal = QStringLiteral("The %1 lines pasted run past the last row of the table.")
                      .arg(lines.size());
    }
    for (int line = 0; refusal.isEmpty() && line < lines.size(); ++line) {
        const QStringList fields = lines[line].split(QLatin1Char('\t'));
        if (start.column() != ValuesTable::New || fields.size() != 1) {
            refusal = QStringLiteral("Only the New column takes numbers: paste one column of "
                                     "numbers into it.");
            break;
        }
        const QModelIndex cell = filtered_->index(start.row() + line, ValuesTable::New);
        cells.emplace_back(filtered_->mapToSource(cell).row(), fields[0]);
    }
    if (refusal.isEmpty())
        refusal = table_->TypeIn(cells);
    if (!refusal.isEmpty())
        host_.ShowMessage(this, {QStringLiteral("Nothing was pasted.  ") + refusal,
                                 QStringLiteral("All Values"), MessageIcon::Warning});
    return refusal;
}

} // namespace kst
