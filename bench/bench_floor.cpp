// The floor for the editor's start-up: the same window with none of the editor's logic. It
// builds the same .ui with the same fonts, caption and icon, and sets into the "Shops" page
// just what the editor shows there after opening the demo image: the part names, the first
// part of each list selected, its price and its dollar caption. It ends once that is painted.
// No image is opened, no page object made, no timer started.
#include "app/fonts.h"
#include "app/romfile.h"
#include "app/tabring.h"
#include "benchsupport.h"
#include "core/valuemodel.h"
#include "demoshop.h"
#include "shops/shopcolumns.h"
#include "ui_generaltext.h"
#include "ui_mainwindow.h"
#include "ui_racerspage.h"
#include "ui_shopspage.h"
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
    explicit FloorWindow(const QByteArray& image) {
        ui_.setupUi(this);
        shops_.setupUi(ui_.ShopsFRA);
        racers_.setupUi(ui_.EnemyFRA);
        text_.setupUi(ui_.GeneralFRA);
        kst::OrderTabRing(ui_);
        kst::ApplyWindowFonts(this);
        setWindowTitle(kst::VersionCaption(kst::kVersionMajor, kst::kVersionRevision));
        setWindowIcon(QIcon(QStringLiteral(":/icons/kestrune-toolbox-16.png")));
        for (QLabel* label : findChildren<QLabel*>())
            if (label->property("autoSize").toBool())
                label->adjustSize();
        for (const kst::ShopColumn& column : kst::kShopColumns)
            FillColumn(column, *kst::FindKind(QLatin1String(column.kind)), image);
        ShowShopsPage();
        ui_.centralwidget->setFixedSize(666, 391);
        setFixedSize(sizeHint());
    }

    // The dollar captions, with the prices they must read.
    std::vector<kst::bench::ShopCaption> captions;

private:
    void FillColumn(const kst::ShopColumn& column, const kst::ValueKind& kind,
                    const QByteArray& image) {
        QListWidget* list = shops_.*column.list;
        for (int i = 0; i < kind.entries->count; ++i)
            list->addItem(QString::fromUtf8(kind.entries->names[i]));
        list->setCurrentRow(0);
        const int price = kst::ValueIn(image, kind, 0);
        (shops_.*column.price)->setText(QString::number(price));
        QLabel* caption = shops_.*column.caption;
        caption->setText(kst::bench::DollarCaption(price));
        caption->adjustSize();
        captions.emplace_back(caption, price);
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
    Ui::ShopsPage shops_;
    Ui::RacersPage racers_;
    Ui::GeneralTextPage text_;
};

} // namespace

int main(int argc, char** argv) {
    kst::bench::StartupClock clock(argc, argv);
    QApplication app(argc, argv);
    clock.Mark("app");
    kst::LoadWindowFonts();
    clock.Mark("fonts");
    FloorWindow window(kst::bench::DemoImageBytes());
    clock.Mark("window");
    clock.FinishWhenComplete(&window, kst::bench::ShopCaptionCheck(window.captions));
    window.show();
    clock.Mark("show");
    return app.exec();
}
