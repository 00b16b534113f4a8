#include "changesdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace kst {

namespace {

// A value's line carries the value's row of the table and its entry.
constexpr int kKindRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;

bool SameValue(const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return a->data(0, kKindRole).isValid() && a->data(0, kKindRole) == b->data(0, kKindRole) &&
           a->data(0, kIndexRole) == b->data(0, kIndexRole);
}

} // namespace

ChangesDialog::ChangesDialog(QWidget* parent, const QString& title, const QString& summary,
                             const std::vector<DiffGroup>& groups)
    : QDialog(parent), list_(new QTreeWidget(this)), note_(new QLabel(this)),
      buttons_(new QDialogButtonBox(this)) {
    setWindowTitle(title);
    auto* heading = new QLabel(summary, this);
    heading->setWordWrap(true);
    heading->setBuddy(list_);
    list_->setObjectName(QStringLiteral("ChangesLST"));
    list_->setHeaderHidden(true);
    list_->setAccessibleName(QStringLiteral("Differences"));
    list_->setAccessibleDescription(summary);
    note_->setObjectName(QStringLiteral("ChangesNoteLBL"));
    note_->setWordWrap(true);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->hide();
    List(groups);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list_);
    layout->addWidget(note_);
    layout->addWidget(buttons_);
    resize(560, 360);
}

QPushButton* ChangesDialog::AddButton(const QString& text, QDialogButtonBox::ButtonRole role) {
    return buttons_->addButton(text, role);
}

void ChangesDialog::List(const std::vector<DiffGroup>& groups) {
    const std::unique_ptr<QTreeWidgetItem> chosen(
        list_->currentItem() ? list_->currentItem()->clone() : nullptr);
    list_->clear();
    for (const DiffGroup& group : groups) {
        auto* page = new QTreeWidgetItem(list_, {group.title});
        for (qsizetype i = 0; i < group.lines.size(); ++i) {
            auto* line = new QTreeWidgetItem(page, {group.lines[i]});
            if (std::size_t(i) >= group.values.size())
                continue;
            const ValueChange& change = group.values[i];
            line->setData(0, kKindRole, int(change.kind - kValueKinds.begin()));
            line->setData(0, kIndexRole, change.index);
        }
    }
    if (groups.empty())
        new QTreeWidgetItem(list_, {QStringLiteral("No value and no other byte differs.")});
    list_->expandAll();
    list_->setCurrentItem(list_->topLevelItem(0));
    if (chosen)
        for (QTreeWidgetItemIterator line(list_); *line; ++line)
            if (SameValue(*line, chosen.get()))
                list_->setCurrentItem(*line);
}

void ChangesDialog::SetNote(const QString& note) {
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

void ChangesDialog::OnValueChosen(const std::function<void(const ValueKind&, int index)>& chosen) {
    // Enter reaches the dialog too, which must not press a button for it.
    for (QAbstractButton* button : buttons_->buttons())
        if (auto* push = qobject_cast<QPushButton*>(button))
            push->setAutoDefault(false);
    // Once the event is over: going to the value may write (a typed value applied first), and
    // the list is made anew after every write.
    connect(list_, &QTreeWidget::itemActivated, this, [this, chosen](QTreeWidgetItem* line) {
        if (!line->data(0, kKindRole).isValid())
            return;
        const ValueKind& kind = kValueKinds[line->data(0, kKindRole).toInt()];
        QTimer::singleShot(0, this, [chosen, &kind, index = line->data(0, kIndexRole).toInt()] {
            chosen(kind, index);
        });
    });
}

} // namespace kst
