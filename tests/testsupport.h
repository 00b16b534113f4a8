#pragma once

#include "app/mainwindow.h"
#include "widgets/host.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace kst::test {

// A valid image: all zero but for the identification word 0x404C at offset 0.
QByteArray ValidRom();
// A valid image whose every byte differs from its neighbours, so a write in the wrong place
// shows; every shop price lies below the ceiling.
QByteArray PatternedRom();
void PutWord(QByteArray& rom, int offset, quint16 value);
quint16 WordAt(const QByteArray& rom, int offset);
QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
// The offsets at which two images differ (a size change lists every offset past the shorter).
QList<int> ChangedOffsets(const QByteArray& before, const QByteArray& after);

// Stands in for the desktop: answers the open-file dialog from a script and records messages
// and the end of the program.
class FakeHost : public Host {
public:
    // Text answers come as the dialog gives them; other names are put in as they are.
    FileName ChooseFile(QWidget* parent, const QStringList& nameFilters,
                        const QString& selectedFilter) override;
    void ShowMessage(QWidget* parent, const Message& message) override;
    // Records the question and takes the next reply; with none left, unscriptedReply or, if
    // that is -1, the default button.
    int Ask(QWidget* parent, const Message& question, const QStringList& buttons, int defaultButton,
            int escapeButton) override;
    // Records the list and answers backupReply.
    int ChooseBackup(QWidget* parent, const QList<BackupChoice>& backups) override;
    QString ProgramFolder() const override { return folder; }
    void EndProgram(int exitCode) override;

    QList<FileName> answers; // one per dialog; an empty answer cancels
    QList<Message> questions;
    QList<int> replies;
    QList<BackupChoice> backupsShown;
    int backupReply = -1;
    int unscriptedReply = -1;
    QString folder;
    QList<Message> messages;
    int exitCode = -1;
};

// The real main window over a temporary program folder that holds a "KST.tbl".
class Editor {
public:
    Editor();
    ~Editor();

    // Writes an image into the temporary folder and returns its path.
    QString AddRom(const QByteArray& bytes, const QString& name = QStringLiteral("game.pce"));
    // Starts the window with this answer to the first dialog, and shows it if it is still on.
    void Start(const FileName& answer);
    void Start(const QString& answer) { Start(FileName::FromText(answer)); }
    // Runs an Open with this answer to the dialog.
    void Open(const QString& answer);
    // An editor started with one valid image; returns nothing, see rom().
    void StartWith(const QByteArray& bytes, const QString& name = QStringLiteral("game.pce"));

    MainWindow& window() { return *window_; }
    FakeHost& host() { return host_; }
    QString rom() const { return romPath_; }
    QByteArray RomBytes() const { return ReadFile(romPath_); }
    QString folder() const { return dir_.path(); }
    // Where this editor's program keeps its backups: a data folder of its own.
    QString BackupFolder() const;

    template <typename T> T* Find(const char* name) {
        T* found = window_->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }
    void Click(const char* button);
    void Trigger(const char* action);
    void SelectTab(const char* tag);
    void SelectRow(const char* list, int row);
    // Replaces a box's text by typing, as a user would after selecting all of it.
    void TypeInto(const char* box, const QString& keys);

private:
    QTemporaryDir dir_;
    FakeHost host_;
    std::unique_ptr<MainWindow> window_;
    QString romPath_;
#ifdef Q_OS_WIN
    QString dataFolder_;
#endif
};

// Puts values into an image: "w0x179C6=500" a word, "b0x1897=22" a byte, separated by ",".
void PutValues(QByteArray& rom, const QString& values);

// Runs a script of user actions and checks on the editor, steps separated by ";":
//   tab=TAG  row:LIST=N  type:BOX=TEXT (replaces the text)  keys:BOX=TEXT (typed at the end)
//   paste:BOX=TEXT (replaces the text, arriving without typing)  commit:BOX=TEXT and
//   preedit:BOX=TEXT (an input method)  slide:SLIDER=N  apply  save  close  open (the same image
//   again) tick (one caption refresh) outside:VALUES (another program writes them into the file,
//   see PutValues) see:CONTROL=TEXT (a box's or caption's text, a slider's value or a list's
//   current row) undo  redo  quit  closebutton (the window's)  reply=N (the button index the next
//   question is answered with)
// A failed check fails the running test.
void RunScript(Editor& editor, const QString& script);

} // namespace kst::test
