#pragma once

#include "app/mainwindow.h"
#include "testimages.h"
#include "widgets/editorpage.h"
#include "widgets/host.h"
#include "widgets/widgets.h"

#include <QAction>
#include <QByteArray>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace kst::test {

#ifndef Q_OS_WIN
// Whether the file descriptor is open on an image (a ".pce"), not on a backup of one.
bool OnImage(int fd);
#endif

// A file of the third-party patcher's vectors: base.pce, target.pce and its patches of them.
// Without it the test program ends, naming the folder the vectors belong in.
QByteArray PatchVector(const char* name);

// The texts of the messages or questions shown.
QStringList TextsOf(const QList<Message>& shown);

// Stands in for the desktop: answers the file dialogs and the program's own dialogs from a
// script and records messages, what each dialog listed, and the end of the program.
class FakeHost : public Host {
public:
    // Text answers come as the dialog gives them; other names are put in as they are.
    FileName ChooseFile(QWidget* parent, const QStringList& nameFilters,
                        const QString& selectedFilter, const QString& title) override;
    QString ChooseSaveFile(QWidget* parent, const QString& title, const QStringList& nameFilters,
                           QString& selectedFilter, const QString& startPath) override;
    void ShowMessage(QWidget*, const Message& message) override { messages << message; }
    // Records the question and takes the next reply; with none left, unscriptedReply or, if
    // that is -1, the default button.
    int Ask(QWidget* parent, const Message& question, const QStringList& buttons, int defaultButton,
            int escapeButton) override;
    // Records the list and answers backupReply.
    int ChooseBackup(QWidget* parent, const QList<BackupChoice>& backups) override;
    // Records the dialog's list and runs the next of dialogAnswers.
    int RunDialog(QDialog& dialog) override;
    QString ProgramFolder() const override { return folder; }
    // now, or the system's clock when it is not set.
    QDateTime Now() const override { return now.isValid() ? now : QDateTime::currentDateTimeUtc(); }
    void EndProgram(int code) override { exitCode = code; }

    QList<FileName> answers; // one per dialog; an empty answer cancels
    QStringList fileDialogs; // each file dialog's title, and a save dialog's path suggested
    // One per save-file dialog: the path and the file type chosen; none left cancels.
    QList<QPair<QString, QString>> saveAnswers;
    // One per dialog of the program: what the user does in it, returning its result; none left
    // closes it at once.
    QList<std::function<int(QDialog&)>> dialogAnswers;
    QList<QStringList> listed; // each dialog's list: a page's name, then its lines indented
    QList<Message> questions;
    std::function<void()> asked; // runs as each question is shown, before its reply
    QList<int> replies;
    QList<BackupChoice> backupsShown;
    int backupReply = -1;
    int unscriptedReply = -1;
    QString folder;
    QDateTime now;
    QList<Message> messages;
    int exitCode = -1;

    QStringList MessageTexts() const { return TextsOf(messages); }
    QStringList QuestionTexts() const { return TextsOf(questions); }
};

// The text as a list of one, none when it is empty: the messages a row expects.
inline QStringList OneOrNone(const QString& text) {
    return text.isEmpty() ? QStringList() : QStringList{text};
}

// A dialog answer that presses the button of that text and returns the dialog's result.
std::function<int(QDialog&)> Press(const QString& button);

// The lines of a dialog's list: a page's name, then its lines indented.
QStringList Listed(const QWidget& dialog);
// The program's window shown on its own with that object name, such as the compare window.
QDialog& ShownWindow(const char* name);

// The real main window over a temporary program folder that holds a "KST.tbl".
class Editor {
public:
    Editor();
    // An editor started with one valid image, as StartWith.
    explicit Editor(const QByteArray& bytes, const QString& name = QStringLiteral("game.pce"));
    ~Editor();

    // Writes an image into the temporary folder and returns its path.
    QString AddRom(const QByteArray& bytes, const QString& name = QStringLiteral("game.pce"));
    // Starts the window with this answer to the first dialog, and shows it if it is still on.
    void Start(const FileName& answer);
    void Start(const QString& answer) { Start(FileName::FromText(answer)); }
    // Runs an Open with this answer to the dialog.
    void Open(const QString& answer);
    // An editor started with one valid image; returns nothing, see Rom().
    void StartWith(const QByteArray& bytes, const QString& name = QStringLiteral("game.pce"));
    // Writes a patch into the temporary folder as the answer to the next file dialog, and
    // presses Apply in its preview.
    void AnswerPatch(const QByteArray& patch, const QString& name = QStringLiteral("patch.ips"));

    MainWindow& Window() { return *window_; }
    FakeHost& Desktop() { return host_; }
    QString Rom() const { return romPath_; }
    QByteArray RomBytes() const { return ReadFile(romPath_); }
    // The offsets at which the image differs from the bytes expected.
    QList<int> ChangedFrom(const QByteArray& expected) const {
        return ChangedOffsets(expected, RomBytes());
    }
    QString Folder() const { return dir_.path(); }

    template <typename T> T* Find(const char* name) { return Child<T>(window_.get(), name); }
    // The controls that show values of the kind, as its page binds them.
    ValueControls ControlsOf(const ValueKind& kind);
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
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

// Runs a script of user actions and checks on the editor, steps separated by ";":
//   tab=TAG  row:LIST=N  type:BOX=TEXT (replaces the text)  keys:BOX=TEXT (typed at the end)
//   paste:BOX=TEXT (replaces the text, arriving without typing)  commit:BOX=TEXT and
//   preedit:BOX=TEXT (an input method)  slide:SLIDER=N  apply  save  close  open (the same image
//   again) tick (one caption refresh) outside:VALUES (another program writes them into the file,
//   see PutValues) see:CONTROL=TEXT (a box's or caption's text, a slider's value or a list's
//   current row, and any other row selected) undo  redo  restore  patch (File > Apply Patch...)
//   quit  closebutton (the window's)  reply=N (the button index the next question is answered with)
// A failed check fails the running test.
void RunScript(Editor& editor, const QString& script);

} // namespace kst::test
