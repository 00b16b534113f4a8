#pragma once

#include "host.h"

#include <QDialog>

class QListWidget;

namespace kst {

// The Restore window: the backups of the open image, newest first, and for the selected one
// the values that differ from the image now. Restore accepts the selected backup.
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
};

} // namespace kst
