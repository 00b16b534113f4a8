#include "host.h"

#include "restoredialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <cstdio>

namespace kst {

FileName DesktopHost::ChooseFile(QWidget* parent, const QStringList& nameFilters,
                                 const QString& selectedFilter, const QString& title) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlg"));
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The filters carry their patterns twice (see RomFilters); only the descriptions are shown.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(selectedFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return FileName::FromText(dialog.selectedFiles().constFirst());
}

QString DesktopHost::ChooseSaveFile(QWidget* parent, const QString& title,
                                    const QStringList& nameFilters, QString& selectedFilter,
                                    const QString& startPath) {
    QFileDialog dialog(parent, title);
    dialog.setObjectName(QStringLiteral("dlg"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(selectedFilter);
    dialog.setDirectory(QFileInfo(startPath).absolutePath());
    dialog.selectFile(QFileInfo(startPath).fileName());
    // A name typed without a suffix gets the chosen file type's before the dialog asks whether
    // to replace a file of that name.
    const auto useSuffixOf = [&dialog](const QString& filter) {
        static const QRegularExpression kPattern(QStringLiteral("\\*\\.(\\w+)"));
        dialog.setDefaultSuffix(kPattern.match(filter).captured(1));
    };
    useSuffixOf(selectedFilter);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

namespace {

QMessageBox::Icon IconOf(const Message& message) {
    return message.icon == MessageIcon::Question      ? QMessageBox::Question
           : message.icon == MessageIcon::Information ? QMessageBox::Information
           : message.icon == MessageIcon::Warning     ? QMessageBox::Warning
                                                      : QMessageBox::Critical;
}

// A window needs files of its own to be drawn (on X11 its picture's shared memory comes as one,
// and one more was seen to be needed); without them a box would stay empty and could never be
// closed.
bool Drawable() {
    return HandlesFree(2);
}

} // namespace

void DesktopHost::ShowMessage(QWidget* parent, const Message& message) {
    if (!Drawable()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                     WholeText(message).toLocal8Bit().constData());
        return;
    }
    QMessageBox box(IconOf(message), message.caption, message.text, QMessageBox::Ok, parent);
    box.setInformativeText(message.informative);
    box.exec();
}

int DesktopHost::Ask(QWidget* parent, const Message& question, const QStringList& buttons,
                     int defaultButton, int escapeButton) {
    if (!Drawable())
        return -1;
    QMessageBox box(IconOf(question), question.caption, question.text, QMessageBox::NoButton,
                    parent);
    QList<QPushButton*> pushed;
    for (const QString& text : buttons)
        pushed << box.addButton(text, QMessageBox::ActionRole);
    box.setDefaultButton(pushed[defaultButton]);
    box.setEscapeButton(pushed[escapeButton]);
    box.exec();
    const int chosen = int(pushed.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return chosen < 0 ? escapeButton : chosen;
}

int DesktopHost::ChooseBackup(QWidget* parent, const QList<BackupChoice>& backups) {
    RestoreDialog dialog(backups, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Chosen() : -1;
}

int DesktopHost::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

QString DesktopHost::ProgramFolder() const {
    return QCoreApplication::applicationDirPath();
}

void DesktopHost::EndProgram(int exitCode) {
    ended_ = true;
    exitCode_ = exitCode;
    QCoreApplication::exit(exitCode);
}

} // namespace kst
