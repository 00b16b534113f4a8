#pragma once

#include "core/backups.h"
#include "core/imagefile.h"
#include "core/message.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace kst {

// What the editor needs from the desktop around it: the open-file and save-file dialogs, message
// boxes and the program's own dialogs, the folder of the program itself, the clock and the end
// of the program. Tests answer these with stand-ins.
class Host {
public:
    virtual ~Host() = default;

    // Shows the modal open-file dialog; returns the chosen file's full name, or an empty one
    // when the user cancelled. nameFilters are in Qt's "Description (patterns)" form. The title
    // says what the file is for; an empty one leaves the dialog's own.
    virtual FileName ChooseFile(QWidget* parent, const QStringList& nameFilters,
                                const QString& selectedFilter, const QString& title = {}) = 0;
    // Shows the modal save-file dialog, titled title, in startPath's folder with its file name
    // suggested; returns the full path to write, or an empty string when the user cancelled.
    // selectedFilter comes in as the filter to preselect and goes back as the one the user
    // chose.
    virtual QString ChooseSaveFile(QWidget* parent, const QString& title,
                                   const QStringList& nameFilters, QString& selectedFilter,
                                   const QString& startPath) = 0;
    // A modal message box with a single OK button. Where no window can be drawn, the message
    // goes to standard error instead.
    virtual void ShowMessage(QWidget* parent, const Message& message) = 0;
    // A modal question with these buttons, left to right; returns the index of the one chosen.
    // Closing the box chooses escapeButton; Enter chooses defaultButton. Where no window can be
    // drawn, returns -1: no answer can come.
    virtual int Ask(QWidget* parent, const Message& question, const QStringList& buttons,
                    int defaultButton, int escapeButton) = 0;
    // The Restore window over these backups, newest first; returns the index of the one to
    // restore, or -1 when the user cancelled.
    virtual int ChooseBackup(QWidget* parent, const QList<BackupChoice>& backups) = 0;
    // Runs one of the program's own dialogs modally; returns its result, QDialog::Accepted or
    // QDialog::Rejected.
    virtual int RunDialog(QDialog& dialog) = 0;
    virtual QString ProgramFolder() const = 0;
    // The moment now, in UTC.
    virtual QDateTime Now() const = 0;
    // Ends the program with this exit status once the running handler has returned.
    virtual void EndProgram(int exitCode) = 0;
};

// The real desktop: Qt's dialogs and the application's own event loop.
class DesktopHost : public Host {
public:
    FileName ChooseFile(QWidget* parent, const QStringList& nameFilters,
                        const QString& selectedFilter, const QString& title) override;
    QString ChooseSaveFile(QWidget* parent, const QString& title, const QStringList& nameFilters,
                           QString& selectedFilter, const QString& startPath) override;
    void ShowMessage(QWidget* parent, const Message& message) override;
    int Ask(QWidget* parent, const Message& question, const QStringList& buttons, int defaultButton,
            int escapeButton) override;
    int ChooseBackup(QWidget* parent, const QList<BackupChoice>& backups) override;
    int RunDialog(QDialog& dialog) override;
    QString ProgramFolder() const override;
    QDateTime Now() const override { return QDateTime::currentDateTimeUtc(); }
    void EndProgram(int exitCode) override;

    bool Ended() const { return ended_; }
    int ExitCode() const { return exitCode_; }

private:
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace kst
