#include "testsupport.h"

#include "core/valuemodel.h"
#include "widgets/captionrefresh.h"

#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace kst::test {

#ifndef Q_OS_WIN
bool OnImage(int fd) {
    const QString file = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
    return file.endsWith(QLatin1String(".pce"));
}
#endif

QByteArray PatchVector(const char* name) {
    QFile file(QStringLiteral(KST_PATCH_VECTORS "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no patch vector %s in %s", name, KST_PATCH_VECTORS);
    return file.readAll();
}

FileName FakeHost::ChooseFile(QWidget*, const QStringList&, const QString&, const QString& title) {
    fileDialogs << title;
    return answers.isEmpty() ? FileName() : answers.takeFirst();
}

QString FakeHost::ChooseSaveFile(QWidget*, const QString& title, const QStringList&,
                                 QString& selectedFilter, const QString& startPath) {
    fileDialogs << title + QStringLiteral(": ") + startPath;
    if (saveAnswers.isEmpty())
        return {};
    const auto [path, filter] = saveAnswers.takeFirst();
    selectedFilter = filter;
    return path;
}

QStringList Listed(const QWidget& dialog) {
    QStringList lines;
    if (auto* list = dialog.findChild<QTreeWidget*>())
        for (QTreeWidgetItemIterator item(list); *item; ++item)
            lines << ((*item)->parent() ? QStringLiteral("  ") : QString()) + (*item)->text(0);
    return lines;
}

QDialog& ShownWindow(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String(name) && window->isVisible())
            if (auto* dialog = qobject_cast<QDialog*>(window))
                return *dialog;
    qFatal("no window %s on show", name);
}

int FakeHost::RunDialog(QDialog& dialog) {
    listed << Listed(dialog);
    return dialogAnswers.isEmpty() ? int(QDialog::Rejected) : dialogAnswers.takeFirst()(dialog);
}

std::function<int(QDialog&)> Press(const QString& button) {
    return [button](QDialog& dialog) {
        for (QAbstractButton* candidate : dialog.findChildren<QAbstractButton*>())
            if (candidate->text() == button) {
                candidate->click();
                return dialog.result();
            }
        qFatal("no button %s", qPrintable(button));
    };
}

int FakeHost::Ask(QWidget*, const Message& question, const QStringList&, int defaultButton, int) {
    questions << question;
    if (asked)
        asked();
    const int unscripted = unscriptedReply < 0 ? defaultButton : unscriptedReply;
    return replies.isEmpty() ? unscripted : replies.takeFirst();
}

int FakeHost::ChooseBackup(QWidget*, const QList<BackupChoice>& backups) {
    backupsShown = backups;
    return backupReply;
}

QStringList TextsOf(const QList<Message>& shown) {
    QStringList texts;
    for (const Message& message : shown)
        texts << message.text;
    return texts;
}

Editor::Editor() {
    host_.folder = dir_.path();
#ifdef Q_OS_WIN
    // Windows names the data folder by the user's profile, whatever the environment says: the
    // backups go to Qt's test folder there, under a name of this editor's own, and are removed
    // with the editor.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("kst-editor-") + dir_.path().right(6));
    dataFolder_ = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#else
    // Backups go below the temporary folder, never into the user's own data folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(dir_.path()).filePath(QStringLiteral("data"))));
#endif
    WriteFile(QDir(dir_.path()).filePath(QStringLiteral("KST.tbl")), "00= \n");
    window_ = std::make_unique<MainWindow>(host_);
}

Editor::Editor(const QByteArray& bytes, const QString& name) : Editor() {
    StartWith(bytes, name);
}

Editor::~Editor() {
#ifdef Q_OS_WIN
    QDir(dataFolder_).removeRecursively();
#endif
}

QString Editor::AddRom(const QByteArray& bytes, const QString& name) {
    const QString path = QDir(dir_.path()).filePath(name);
    WriteFile(path, bytes);
    return path;
}

void Editor::Start(const FileName& answer) {
    host_.answers << answer;
    window_->Start();
    if (window_->Ended())
        return;
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get()))
        qFatal("the window did not become active");
}

void Editor::Open(const QString& answer) {
    host_.answers << FileName::FromText(answer);
    Click("OpenCMD");
}

void Editor::StartWith(const QByteArray& bytes, const QString& name) {
    romPath_ = AddRom(bytes, name);
    Start(romPath_);
    if (window_->Ended())
        qFatal("the editor refused a valid image");
}

void Editor::AnswerPatch(const QByteArray& patch, const QString& name) {
    host_.answers << FileName::FromText(AddRom(patch, name));
    host_.dialogAnswers << Press(QStringLiteral("&Apply"));
}

ValueControls Editor::ControlsOf(const ValueKind& kind) {
    for (const EditorPage* page : window_->findChildren<EditorPage*>())
        for (const ValueControls& controls : page->Controls())
            if (controls.kind == &kind)
                return controls;
    qFatal("no page shows %s", kind.name);
}

void Editor::SelectTab(const char* tag) {
    auto* tabs = Find<QTabWidget>("tabs");
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->property("tag").toString() == QLatin1String(tag)) {
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                              tabs->tabBar()->tabRect(i).center());
            return;
        }
    qFatal("no tab %s", tag);
}

void Editor::SelectRow(const char* list, int row) {
    auto* widget = Find<QListWidget>(list);
    QListWidgetItem* item = widget->item(row);
    widget->scrollToItem(item);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(item).center());
}

void Editor::TypeInto(const char* box, const QString& keys) {
    auto* edit = Find<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, keys);
}

// The steps that are a command of the menu, and its action.
const QHash<QString, const char*> kMenuSteps{
    {QStringLiteral("save"), "mnuSave"},       {QStringLiteral("close"), "mnuClose"},
    {QStringLiteral("undo"), "mnuUndo"},       {QStringLiteral("redo"), "mnuRedo"},
    {QStringLiteral("restore"), "mnuRestore"}, {QStringLiteral("patch"), "mnuApplyPatch"},
    {QStringLiteral("quit"), "mnuQuit"}};

void RunScript(Editor& editor, const QString& script) {
    for (const QString& step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString command = step.section(QLatin1Char(':'), 0, 0).trimmed();
        const QString rest = step.section(QLatin1Char(':'), 1);
        const QByteArray target = rest.section(QLatin1Char('='), 0, 0).toLatin1();
        const QString value = rest.section(QLatin1Char('='), 1);
        const char* name = target.constData();
        const auto box = [&] { return editor.Find<QLineEdit>(name); };
        if (command.startsWith(QLatin1String("tab=")))
            editor.SelectTab(qPrintable(command.mid(4)));
        else if (command == QLatin1String("row"))
            editor.SelectRow(name, value.toInt());
        else if (command == QLatin1String("type"))
            editor.TypeInto(name, value);
        else if (command == QLatin1String("keys")) {
            box()->setFocus();
            box()->end(false);
            QTest::keyClicks(box(), value);
        } else if (command == QLatin1String("paste")) {
            box()->selectAll();
            box()->insert(value);
        } else if (command == QLatin1String("commit") || command == QLatin1String("preedit")) {
            box()->selectAll();
            QInputMethodEvent event(command == QLatin1String("preedit") ? value : QString(), {});
            event.setCommitString(command == QLatin1String("commit") ? value : QString());
            QApplication::sendEvent(box(), &event);
        } else if (command == QLatin1String("slide"))
            editor.Find<QAbstractSlider>(name)->setValue(value.toInt());
        else if (command == QLatin1String("apply"))
            editor.Click("ApplyCMD");
        else if (kMenuSteps.contains(command))
            editor.Trigger(kMenuSteps.value(command));
        else if (command == QLatin1String("open"))
            editor.Open(editor.Rom());
        else if (command == QLatin1String("closebutton"))
            editor.Window().close();
        else if (command.startsWith(QLatin1String("reply=")))
            editor.Desktop().replies << command.mid(6).toInt();
        else if (command == QLatin1String("tick"))
            editor.Window().findChild<CaptionRefresh*>()->Tick();
        else if (command == QLatin1String("outside")) {
            QByteArray bytes = editor.RomBytes();
            PutValues(bytes, rest);
            QFile file(editor.Rom()); // written in place, as a hex editor would
            if (!file.open(QIODevice::ReadWrite) || file.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(editor.Rom()));
        } else if (command == QLatin1String("see")) {
            QObject* control = editor.Find<QObject>(name);
            QString shown = control->property("text").toString();
            if (auto* slider = qobject_cast<QAbstractSlider*>(control))
                shown = QString::number(slider->value());
            else if (auto* list = qobject_cast<QListWidget*>(control)) {
                shown = QString::number(list->currentRow());
                for (const QListWidgetItem* item : list->selectedItems())
                    if (list->row(item) != list->currentRow())
                        shown += QStringLiteral(", %1 selected").arg(list->row(item));
            }
            QVERIFY2(shown == value, qPrintable(step + QStringLiteral(", shown: ") + shown));
        } else
            qFatal("unknown step %s", qPrintable(step));
        if (editor.Window().Ended())
            return;
    }
}

} // namespace kst::test
