#pragma once

#include "host.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kst {

// The Restore window: the backups of the open image, newest first, each with the image it was
// taken of, and for the selected one what differs from the image now. Restore accepts the
// selected backup; a damaged one is listed with the reason and cannot be selected.
class RestoreDialog : public QDialog {
    Q_OBJECT

public:
    RestoreDialog(const QList<BackupChoice>& backups, QWidget* parent = nullptr);

    // The index of the selected backup.
    int Chosen() const;

private:
    void ShowDifferences(int backup);

    QList<BackupChoice> backups_;
    QListWidget* times_;
    QListWidget* differences_;
    QPushButton* restore_;
};

} // namespace kst
