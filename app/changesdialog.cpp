#include "changesdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kst {

ChangesDialog::ChangesDialog(QWidget* parent, const QString& title, const QString& summary,
                             const std::vector<DiffGroup>& groups)
    : QDialog(parent), buttons_(new QDialogButtonBox(this)) {
    setWindowTitle(title);
    auto* list = new QTreeWidget(this);
    auto* heading = new QLabel(summary, this);
    heading->setWordWrap(true);
    heading->setBuddy(list);
    list->setObjectName(QStringLiteral("ChangesLST"));
    list->setHeaderHidden(true);
    list->setAccessibleName(QStringLiteral("Differences"));
    list->setAccessibleDescription(summary);
    for (const DiffGroup& group : groups) {
        auto* page = new QTreeWidgetItem(list, {group.title});
        for (const QString& line : group.lines)
            new QTreeWidgetItem(page, {line});
    }
    if (groups.empty())
        new QTreeWidgetItem(list, {QStringLiteral("No value and no other byte differs.")});
    list->expandAll();
    list->setCurrentItem(list->topLevelItem(0));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list);
    layout->addWidget(buttons_);
    resize(560, 360);
}

QPushButton* ChangesDialog::AddButton(const QString& text, QDialogButtonBox::ButtonRole role) {
    return buttons_->addButton(text, role);
}

} // namespace kst
