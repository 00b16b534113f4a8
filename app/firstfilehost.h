#pragma once

#include "widgets/host.h"

#include <utility>

namespace kst {

// Answers the first choice of a file with the one given on the command line, exactly as if the
// user had chosen it in the dialog; everything else, later choices too, goes to the desktop.
class FirstFileHost : public Host {
public:
    FirstFileHost(Host& desktop, FileName firstFile)
        : desktop_(desktop), firstFile_(std::move(firstFile)) {}

    FileName ChooseFile(QWidget* parent, const QStringList& nameFilters,
                        const QString& selectedFilter, const QString& title) override;
    QString ChooseSaveFile(QWidget* parent, const QString& title, const QStringList& nameFilters,
                           QString& selectedFilter, const QString& startPath) override {
        return desktop_.ChooseSaveFile(parent, title, nameFilters, selectedFilter, startPath);
    }
    void ShowMessage(QWidget* parent, const Message& message) override {
        desktop_.ShowMessage(parent, message);
    }
    int Ask(QWidget* parent, const Message& question, const QStringList& buttons, int defaultButton,
            int escapeButton) override {
        return desktop_.Ask(parent, question, buttons, defaultButton, escapeButton);
    }
    int ChooseBackup(QWidget* parent, const QList<BackupChoice>& backups) override {
        return desktop_.ChooseBackup(parent, backups);
    }
    int RunDialog(QDialog& dialog) override { return desktop_.RunDialog(dialog); }
    QString ProgramFolder() const override { return desktop_.ProgramFolder(); }
    QDateTime Now() const override { return desktop_.Now(); }
    void EndProgram(int exitCode) override { desktop_.EndProgram(exitCode); }

private:
    Host& desktop_;
    FileName firstFile_;
};

} // namespace kst
