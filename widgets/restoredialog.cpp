#include "restoredialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kst {

RestoreDialog::RestoreDialog(const QList<BackupChoice>& backups, QWidget* parent)
    : QDialog(parent), backups_(backups), times_(new QListWidget(this)),
      differences_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Restore Backup"));
    times_->setObjectName(QStringLiteral("BackupLST"));
    differences_->setObjectName(QStringLiteral("DifferencesLST"));
    times_->setAccessibleName(QStringLiteral("Backups"));
    differences_->setAccessibleName(QStringLiteral("What differs from the image now"));
    // A damaged backup is listed with the reason, but cannot be chosen.
    for (const BackupChoice& backup : backups_) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1, of %2").arg(backup.takenAt, backup.from), times_);
        if (!backup.damage.isEmpty()) {
            item->setText(item->text() + QStringLiteral(": damaged, ") + backup.damage);
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    restore_ = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    restore_->setObjectName(QStringLiteral("RestoreCMD"));
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
    const auto sound = std::find_if(backups_.cbegin(), backups_.cend(),
                                    [](const BackupChoice& b) { return b.damage.isEmpty(); });
    times_->setCurrentRow(sound == backups_.cend() ? -1 : int(sound - backups_.cbegin()));
    ShowDifferences(times_->currentRow());
    // Wide enough for a value's label with both its numbers.
    resize(qMax(width(), 520), qMax(height(), 420));
}

int RestoreDialog::Chosen() const {
    return times_->currentRow();
}

void RestoreDialog::ShowDifferences(int backup) {
    differences_->clear();
    const bool sound = backup >= 0 && backups_[backup].damage.isEmpty();
    restore_->setEnabled(sound);
    if (!sound)
        return;
    const QStringList& differences = backups_[backup].differences;
    if (differences.isEmpty())
        differences_->addItem(QStringLiteral("Nothing differs."));
    differences_->addItems(differences);
}

} // namespace kst
