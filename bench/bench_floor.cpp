// The floor for the editor's start-up: the same window with none of the editor's logic. It
// builds the same .ui with the same fonts, caption and icon, and sets into the "Shops" page
// just what the editor shows there after opening the demo image: the part names, the first
// part of each list selected, its price and its dollar caption. It ends once that is painted.
// No image is opened, no page object made, no timer started.
#include "app/fonts.h"
#include "app/romfile.h"
#include "benchsupport.h"
#include "core/valuemodel.h"
#include "demoshop.h"
#include "ui_mainwindow.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>

namespace {

class FloorWindow : public QMainWindow {
public:
    explicit FloorWindow(const std::vector<kst::bench::ShopColumnValues>& columns) {
        ui_.setupUi(this);
        kst::ApplyWindowFonts(this);
        setWindowTitle(kst::VersionCaption(kst::kVersionMajor, kst::kVersionRevision));
        setWindowIcon(QIcon(QStringLiteral(":/icons/kestrune-toolbox-16.png")));
        for (QLabel* label : findChildren<QLabel*>())
            if (label->property("autoSize").toBool())
                label->adjustSize();
        for (std::size_t i = 0; i < columns.size(); ++i)
            FillColumn(*kst::kValueKinds[i].entries, columns[i]);
        ShowShopsPage();
        ui_.centralwidget->setFixedSize(666, 391);
        setFixedSize(sizeHint());
    }

private:
    void FillColumn(const kst::EntryList& parts, const kst::bench::ShopColumnValues& values) {
        auto* list = findChild<QListWidget*>(QLatin1String(values.list));
        for (int i = 0; i < parts.count; ++i)
            list->addItem(QString::fromUtf8(parts.names[i]));
        list->setCurrentRow(0);
        findChild<QLineEdit*>(QLatin1String(values.priceBox))
            ->setText(QString::number(values.price));
        auto* caption = findChild<QLabel*>(QLatin1String(values.dollarCaption));
        caption->setText(kst::bench::DollarCaption(values.price));
        caption->adjustSize();
    }

    // The editor's state with an image open and the first tab selected.
    void ShowShopsPage() {
        for (QWidget* control :
             {static_cast<QWidget*>(ui_.tabs), static_cast<QWidget*>(ui_.ApplyCMD),
              static_cast<QWidget*>(ui_.ShopsFRA), static_cast<QWidget*>(ui_.EnemyFRA)})
            control->setEnabled(true);
        ui_.mnuSave->setEnabled(true);
        ui_.mnuClose->setEnabled(true);
        ui_.ShopsFRA->show();
    }

    Ui::Main ui_;
};

} // namespace

int main(int argc, char** argv) {
    kst::bench::StartupClock clock(argc, argv);
    QApplication app(argc, argv);
    clock.Mark("app");
    kst::LoadWindowFonts();
    clock.Mark("fonts");
    const std::vector<kst::bench::ShopColumnValues> columns = kst::bench::DemoShopColumns();
    FloorWindow window(columns);
    clock.Mark("window");
    clock.FinishWhenComplete(&window, kst::bench::ShopCaptionCheck(&window, columns));
    window.show();
    clock.Mark("show");
    return app.exec();
}
