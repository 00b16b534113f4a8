#include "host.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace kst {

QString DesktopHost::ChooseFile(QWidget* parent, const QStringList& nameFilters,
                                const QString& selectedFilter) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlg"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The filters carry their patterns twice (see RomFilters); only the descriptions are shown.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(selectedFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DesktopHost::ChooseSaveFile(QWidget* parent, const QStringList& nameFilters,
                                    QString& selectedFilter) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlg"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(selectedFilter);
    // A name typed without a suffix gets the chosen file type's before the dialog asks whether
    // to replace a file of that name.
    const auto useSuffixOf = [&dialog](const QString& filter) {
        static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
        dialog.setDefaultSuffix(pattern.match(filter).captured(1));
    };
    useSuffixOf(selectedFilter);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

int DesktopHost::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

void DesktopHost::ShowMessage(QWidget* parent, const Message& message) {
    const QMessageBox::Icon icon = message.icon == MessageIcon::Question  ? QMessageBox::Question
                                   : message.icon == MessageIcon::Warning ? QMessageBox::Warning
                                                                          : QMessageBox::Critical;
    QMessageBox box(icon, message.caption, message.text, QMessageBox::Ok, parent);
    box.exec();
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
