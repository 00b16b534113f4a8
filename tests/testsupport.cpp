#include "testsupport.h"

#include "core/backups.h"
#include "core/valuemodel.h"
#include "widgets/captionrefresh.h"

#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

namespace kst::test {

QByteArray ValidRom() {
    QByteArray rom(kRomSize, '\0');
    PutWord(rom, 0, 0x404C);
    return rom;
}

QByteArray PatternedRom() {
    QByteArray rom(kRomSize, '\0');
    for (int i = 0; i < rom.size(); ++i)
        rom[i] = char((i * 13 + 5) & 0xFF);
    PutWord(rom, 0, 0x404C);
    for (const ValueKind& kind : kValueKinds)
        if (kind.format == Format::Price)
            for (int i = 0; i < kind.entries->count; ++i)
                PutValue(rom, kind, i, 100 + int(OffsetOf(kind, i)) % 997);
    return rom;
}

void PutWord(QByteArray& rom, int offset, quint16 value) {
    rom[offset] = static_cast<char>(value & 0xFF);
    rom[offset + 1] = static_cast<char>(value >> 8);
}

quint16 WordAt(const QByteArray& rom, int offset) {
    return static_cast<quint16>(static_cast<quint8>(rom[offset]) |
                                (static_cast<quint8>(rom[offset + 1]) << 8));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QList<int> ChangedOffsets(const QByteArray& before, const QByteArray& after) {
    QList<int> changed;
    for (int i = 0; i < qMax(before.size(), after.size()); ++i)
        if (i >= before.size() || i >= after.size() || before[i] != after[i])
            changed << i;
    return changed;
}

FileName FakeHost::ChooseFile(QWidget*, const QStringList&, const QString&) {
    return answers.isEmpty() ? FileName() : answers.takeFirst();
}

void FakeHost::ShowMessage(QWidget*, const Message& message) {
    messages << message;
}

int FakeHost::Ask(QWidget*, const Message& question, const QStringList&, int defaultButton, int) {
    questions << question;
    if (!replies.isEmpty())
        return replies.takeFirst();
    return unscriptedReply < 0 ? defaultButton : unscriptedReply;
}

int FakeHost::ChooseBackup(QWidget*, const QList<BackupChoice>& backups) {
    backupsShown = backups;
    return backupReply;
}

void FakeHost::EndProgram(int code) {
    exitCode = code;
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

Editor::~Editor() {
#ifdef Q_OS_WIN
    QDir(dataFolder_).removeRecursively();
#endif
}

QString Editor::BackupFolder() const {
    return Backups::Folder();
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

void Editor::Click(const char* button) {
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
}

void Editor::Trigger(const char* action) {
    Find<QAction>(action)->trigger();
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

void PutValues(QByteArray& rom, const QString& values) {
    for (QString value : values.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        value = value.trimmed();
        const int offset = value.section(QLatin1Char('='), 0, 0).mid(1).toInt(nullptr, 16);
        const int number = value.section(QLatin1Char('='), 1).toInt();
        if (value.startsWith(QLatin1Char('b')))
            rom[offset] = char(number);
        else
            PutWord(rom, offset, quint16(number));
    }
}

void RunScript(Editor& editor, const QString& script) {
    for (const QString& step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString command = step.section(QLatin1Char(':'), 0, 0).trimmed();
        const QString rest = step.section(QLatin1Char(':'), 1);
        const QByteArray target = rest.section(QLatin1Char('='), 0, 0).toLatin1();
        const QString value = rest.section(QLatin1Char('='), 1);
        const char* name = target.constData();
        if (command.startsWith(QLatin1String("tab=")))
            editor.SelectTab(qPrintable(command.mid(4)));
        else if (command == QLatin1String("row"))
            editor.SelectRow(name, value.toInt());
        else if (command == QLatin1String("type"))
            editor.TypeInto(name, value);
        else if (command == QLatin1String("keys")) {
            auto* box = editor.Find<QLineEdit>(name);
            box->setFocus();
            box->end(false);
            QTest::keyClicks(box, value);
        } else if (command == QLatin1String("paste")) {
            auto* box = editor.Find<QLineEdit>(name);
            box->selectAll();
            box->insert(value);
        } else if (command == QLatin1String("commit") || command == QLatin1String("preedit")) {
            auto* box = editor.Find<QLineEdit>(name);
            box->selectAll();
            QInputMethodEvent event(command == QLatin1String("preedit") ? value : QString(), {});
            event.setCommitString(command == QLatin1String("commit") ? value : QString());
            QApplication::sendEvent(box, &event);
        } else if (command == QLatin1String("slide"))
            editor.Find<QAbstractSlider>(name)->setValue(value.toInt());
        else if (command == QLatin1String("apply"))
            editor.Click("ApplyCMD");
        else if (command == QLatin1String("save"))
            editor.Trigger("mnuSave");
        else if (command == QLatin1String("close"))
            editor.Trigger("mnuClose");
        else if (command == QLatin1String("open"))
            editor.Open(editor.rom());
        else if (command == QLatin1String("undo"))
            editor.Trigger("mnuUndo");
        else if (command == QLatin1String("redo"))
            editor.Trigger("mnuRedo");
        else if (command == QLatin1String("quit"))
            editor.Trigger("mnuQuit");
        else if (command == QLatin1String("closebutton"))
            editor.window().close();
        else if (command.startsWith(QLatin1String("reply=")))
            editor.host().replies << command.mid(6).toInt();
        else if (command == QLatin1String("tick"))
            editor.window().findChild<CaptionRefresh*>()->Tick();
        else if (command == QLatin1String("outside")) {
            QByteArray bytes = editor.RomBytes();
            PutValues(bytes, rest);
            QFile file(editor.rom()); // written in place, as a hex editor would
            if (!file.open(QIODevice::ReadWrite) || file.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(editor.rom()));
        } else if (command == QLatin1String("see")) {
            QObject* control = editor.Find<QObject>(name);
            QString shown = control->property("text").toString();
            if (auto* slider = qobject_cast<QAbstractSlider*>(control))
                shown = QString::number(slider->value());
            else if (auto* list = qobject_cast<QListWidget*>(control))
                shown = QString::number(list->currentRow());
            QVERIFY2(shown == value, qPrintable(step + QStringLiteral(", shown: ") + shown));
        } else
            qFatal("unknown step %s", qPrintable(step));
        if (editor.window().Ended())
            return;
    }
}

} // namespace kst::test
