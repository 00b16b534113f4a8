// View > All Values and File > Import Values: many values edited, pasted or imported at once,
// written as one step of the history. Each case compares the whole image.
#include "app/valuestable.h"
#include "core/messages.h"
#include "core/valueexchange.h"
#include "testsupport.h"

#include <QAccessible>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

// Opens View > All Values and pastes text from the clipboard with Ctrl+V into the New cell of
// the table's first row.
QTableView& PasteIntoTable(Editor& editor, const QString& text) {
    editor.Trigger("mnuAllValues");
    auto* table = editor.Find<QTableView>("AllValuesTBL");
    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, ValuesTable::New));
    QApplication::clipboard()->setText(text);
    QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
    return *table;
}

// The row of the value at that offset, as the table shows it; -1 where there is none.
int RowAt(const QTableView& view, const char* offset) {
    const QAbstractItemModel* model = view.model();
    const QModelIndex first = model->index(0, ValuesTable::Offset);
    return model->match(first, Qt::DisplayRole, QLatin1String(offset)).value(0).row();
}

// The refusal shown when nothing was to be written, or else the whole text of the Undo step.
QString Said(Editor& editor, const QString& written) {
    return written.isEmpty() ? editor.Desktop().messages.value(0).text
                             : editor.Find<QAction>("mnuUndo")->toolTip();
}

} // namespace

class TestTable : public QObject {
    Q_OBJECT

private slots:
    // A spreadsheet's 5 x 1 block pasted and applied is one write and one step, and the page
    // shows it; a block with one refused cell takes nothing.
    void pasteBlock_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("said");
        const QString step = QStringLiteral(
            "Undo Apply: Buzz Motor price 0 \u2192 450, Din Motor price 0 \u2192 460, Spur Motor "
            "price 0 \u2192 470, Lug Motor price 0 \u2192 480, VX Motor price 0 \u2192 32000");
        QTest::newRow("five")
            << "450\r\n460\r\n470\r\n480\r\n32000\r\n"
            << "w0x179C6=450,w0x179CB=460,w0x179D0=470,w0x179D5=480,w0x179DA=32000" << step;
        QTest::newRow("text") << "450\n460\nabc\n480\n490\n"
                              << QString()
                              << "Nothing was pasted.  Spur Motor price (shop.motor[2]) takes a "
                                 "whole number from 0 to 32000, not \"abc\".";
        QTest::newRow("two columns") << "450\t460\n"
                                     << QString()
                                     << "Nothing was pasted.  Only the New column takes numbers: "
                                        "paste one column of numbers into it.";
    }
    void pasteBlock() {
        QFETCH(QString, pasted);
        QFETCH(QString, written);
        QFETCH(QString, said);
        Editor editor;
        editor.StartWith(ValidRom());
        const QTableView& table = PasteIntoTable(editor, pasted);
        editor.Click("AllValuesApplyCMD");
        QCOMPARE(editor.RomBytes(), With(ValidRom(), written));
        QCOMPARE(Said(editor, written), said);
        QVERIFY(!editor.Find<QPushButton>("AllValuesApplyCMD")->isEnabled());
        if (written.isEmpty())
            return;
        RunScript(editor, "row:MotorLST=4;see:MotorCostTXT=32000");
        // The table shows the file's numbers after each write, its own and the Undo.
        const QModelIndex vx = table.model()->index(4, ValuesTable::InFile);
        QCOMPARE(vx.data(), QVariant(32000));
        editor.Trigger("mnuUndo");
        QCOMPARE(editor.RomBytes(), ValidRom());
        QCOMPARE(vx.data(), QVariant(0));
    }

    // A screen reader hears each cell with its column's name.
    void cellsSayTheirColumn() {
        Editor editor;
        editor.StartWith(With(ValidRom(), "b0x1947=9"));
        editor.Trigger("mnuAllValues");
        auto* view = editor.Find<QTableView>("AllValuesTBL");
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(view)->tableInterface();
        const int row = RowAt(*view, "0x1947"); // race 12's AI strength
        QVERIFY(row >= 0);
        QCOMPARE(table->cellAt(row, ValuesTable::Entry)->text(QAccessible::Name),
                 QStringLiteral("Entry: Race 12 (Al Under, Alice)"));
        QCOMPARE(table->cellAt(row, ValuesTable::Offset)->text(QAccessible::Name),
                 QStringLiteral("Offset: 0x1947"));
        QCOMPARE(table->cellAt(row, ValuesTable::New)->text(QAccessible::Name),
                 QStringLiteral("New: 9"));
    }

    // A number typed into a cell keeps the pages' rule: above the value's highest, it becomes
    // that highest.
    void typedOverTheHighest() {
        Editor editor(ValidRom());
        editor.Trigger("mnuAllValues");
        auto* view = editor.Find<QTableView>("AllValuesTBL");
        view->setFocus();
        view->setCurrentIndex(view->model()->index(RowAt(*view, "0x1947"), ValuesTable::New));
        // The first key opens the cell's editor, which takes the keys after it.
        for (const char key : {'3', '0', '\r'})
            QTest::keyClick(view->focusWidget() ? view->focusWidget() : view, key);
        QCoreApplication::processEvents(); // Enter commits the cell once back in the event loop
        editor.Click("AllValuesApplyCMD");
        QCOMPARE(editor.RomBytes(), With(ValidRom(), "b0x1947=22"));
    }

    // The Quit question names the table's edit; Apply writes it, Discard drops it.
    void quitNamesTableEdit_data() {
        QTest::addColumn<int>("reply");
        QTest::addColumn<QString>("written");
        QTest::newRow("apply") << 0 << "w0x179C6=450";
        QTest::newRow("discard") << 1 << QString();
    }
    void quitNamesTableEdit() {
        QFETCH(int, reply);
        QFETCH(QString, written);
        Editor editor;
        editor.StartWith(ValidRom());
        PasteIntoTable(editor, QStringLiteral("450"));
        RunScript(editor, QStringLiteral("reply=%1;quit").arg(reply));
        QCOMPARE(editor.Desktop().questions.value(0).text,
                 QStringLiteral("These values have not been applied: Buzz Motor price.  Apply "
                                "them first?"));
        QCOMPARE(editor.RomBytes(), With(ValidRom(), written));
    }

    // File > Import Values... previews the list, then writes it as one step, which the open
    // table shows; a refused list writes nothing.
    void importValues_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("said");
        QTest::newRow("csv") << "list.csv" << QByteArray("name,index,value\r\nshop.motor,0,450\r\n")
                             << "w0x179C6=450"
                             << "Undo Import Values: Buzz Motor price 0 \u2192 450";
        QTest::newRow("refused") << "list.csv"
                                 << QByteArray(
                                        "name,index,value\nshop.motor,0,450\nrace.ai,11,23\n")
                                 << QString()
                                 << "Line 3: Race 12, enemy racers' AI strength (race.ai[11]) "
                                    "takes a whole number from 0 to 22, not \"23\".  The image "
                                    "was not changed.";
    }
    void importValues() {
        QFETCH(QString, name);
        QFETCH(QByteArray, list);
        QFETCH(QString, written);
        QFETCH(QString, said);
        Editor editor;
        editor.StartWith(ValidRom());
        editor.Trigger("mnuAllValues");
        editor.Desktop().answers << FileName::FromText(editor.AddRom(list, name));
        editor.Desktop().dialogAnswers << Press(QStringLiteral("&Apply"));
        editor.Trigger("mnuImportValues");
        QCOMPARE(editor.RomBytes(), With(ValidRom(), written));
        QCOMPARE(Said(editor, written), said);
        const QByteArray image = editor.RomBytes();
        const QAbstractItemModel* table = editor.Find<QTableView>("AllValuesTBL")->model();
        for (int row = 0; row < table->rowCount(); ++row)
            QCOMPARE(table->index(row, ValuesTable::InFile).data().toInt(),
                     AllValues(image)[std::size_t(row)].number);
    }

    // File > Export Values... writes every value as the command line does, in the format of a
    // typed suffix, or else of the file type chosen.
    void exportValues_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("written");
        QTest::newRow("suffix typed") << "list.json" << 0 << "list.json";
        QTest::newRow("type chosen") << "list" << 1 << "list.json";
        QTest::newRow("csv") << "list" << 0 << "list.csv";
    }
    void exportValues() {
        QFETCH(QString, typed);
        QFETCH(int, type);
        QFETCH(QString, written);
        Editor editor(With(ValidRom(), "w0x179C6=450"));
        const QDir folder(editor.Folder());
        editor.Desktop().saveAnswers
            << qMakePair(folder.filePath(typed), tabletext::kSaveFilters.at(type));
        editor.Trigger("mnuExportValues");
        QCOMPARE(ReadFile(folder.filePath(written)),
                 ExportValues(*ValueFormatOfName(written), editor.RomBytes()));
    }
};

QTEST_MAIN(TestTable)
#include "tst_table.moc"
