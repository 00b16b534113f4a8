#include "restoredialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kst {

RestoreDialog::RestoreDialog(const QList<BackupChoice>& backups, QWidget* parent)
    : QDialog(parent), backups_(backups), times_(new QListWidget(this)),
      differences_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Restore Backup"));
    times_->setObjectName(QStringLiteral("BackupLST"));
    differences_->setObjectName(QStringLiteral("DifferencesLST"));
    times_->setAccessibleName(QStringLiteral("Backups"));
    differences_->setAccessibleName(QStringLiteral("Values that differ from the image now"));
    for (const BackupChoice& backup : backups_)
        times_->addItem(backup.takenAt);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* restore =
        buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    restore->setEnabled(!backups_.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(times_, &QListWidget::currentRowChanged, this,
            [this](int row) { ShowDifferences(row); });
    auto* layout = new QVBoxLayout(this);
    auto* timesLabel = new QLabel(QStringLiteral("&Backups, newest first:"), this);
    timesLabel->setBuddy(times_);
    auto* differencesLabel = new QLabel(QStringLiteral("&Differences from the image now:"), this);
    differencesLabel->setBuddy(differences_);
    layout->addWidget(timesLabel);
    layout->addWidget(times_);
    layout->addWidget(differencesLabel);
    layout->addWidget(differences_);
    layout->addWidget(buttons);
    times_->setCurrentRow(0);
    // Wide enough for a value's label with both its numbers.
    resize(qMax(width(), 520), qMax(height(), 420));
}

int RestoreDialog::Chosen() const {
    return times_->currentRow();
}

void RestoreDialog::ShowDifferences(int backup) {
    differences_->clear();
    if (backup < 0)
        return;
    const QStringList& differences = backups_[backup].differences;
    if (differences.isEmpty())
        differences_->addItem(QStringLiteral("No value differs."));
    differences_->addItems(differences);
}

} // namespace kst
