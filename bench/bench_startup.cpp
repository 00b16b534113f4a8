// The editor's start-up as app/main.cpp runs it, with the demo image chosen in place of the
// dialog: from main() to the first paint that shows the window complete, the image loaded and
// every dollar caption reading its price. The start-up runner times it from fork to exit
// against bench_floor and bench_bare.
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "core/valuemodel.h"
#include "demoshop.h"
#include "widgets/editorpage.h"
#include "widgets/numberbox.h"

#include <QApplication>
#include <QLineEdit>

namespace {

// The dollar captions of the Shops page, with the prices their boxes show.
std::vector<kst::bench::ShopCaption> ShopCaptionsOnShow(const QWidget* window) {
    std::vector<kst::bench::ShopCaption> captions;
    for (const kst::EditorPage* page : window->findChildren<kst::EditorPage*>())
        for (const kst::ValueControls& controls : page->Controls())
            if (controls.kind->page == kst::Page::Shops)
                captions.emplace_back(
                    controls.caption,
                    kst::NumberBox::NumberIn(static_cast<QLineEdit*>(controls.editor)->text()));
    return captions;
}

} // namespace

int main(int argc, char** argv) {
    kst::bench::StartupClock clock(argc, argv);
    QApplication app(argc, argv);
    clock.Mark("app");
    kst::LoadWindowFonts();
    clock.Mark("fonts");
    kst::bench::BenchHost host;
    kst::MainWindow window(host);
    clock.Mark("window");
    window.Start();
    if (window.Ended())
        return 1;
    clock.Mark("open");
    clock.FinishWhenComplete(&window, kst::bench::ShopCaptionCheck(ShopCaptionsOnShow(&window)));
    window.show();
    clock.Mark("show");
    return app.exec();
}
