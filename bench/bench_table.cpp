// View > All Values after an image is open: the median time from the command until the window
// has painted its table, every row in the model, the first time and again after it was closed.
// Goal: within 30 ms.
//
//   bench_table [RUNS]
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "widgets/widgets.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Shows the table and paints it whole, as the screen would.
void ShowTable(kst::MainWindow& window) {
    kst::Child<QAction>(&window, "mnuAllValues")->trigger();
    auto* table = kst::Child<QWidget>(&window, "AllValuesDLG");
    table->grab();
    const int rows = kst::Child<QTableView>(table, "AllValuesTBL")->model()->rowCount();
    if (!table->isVisible() || rows != 201) {
        std::fprintf(stderr, "the table shows %d rows\n", rows);
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    kst::bench::BenchHost host;
    std::unique_ptr<kst::MainWindow> window;
    const auto open = [&] {
        window = std::make_unique<kst::MainWindow>(host);
        window->Start();
        window->show();
        QApplication::processEvents();
        if (window->Ended())
            std::exit(1);
    };
    // A new window each run, opened before the clock starts, so that each show is a first one.
    std::vector<double> first;
    for (int i = 0; i < runs; ++i) {
        open();
        first.push_back(kst::bench::MedianMicroseconds(1, [&] { ShowTable(*window); }));
    }
    std::nth_element(first.begin(), first.begin() + first.size() / 2, first.end());
    std::printf("table_first_us %.1f\n", first[first.size() / 2]);
    std::printf("table_again_us %.1f\n", kst::bench::MedianMicroseconds(runs, [&] {
                    kst::Child<QWidget>(window.get(), "AllValuesDLG")->close();
                    ShowTable(*window);
                }));
    return 0;
}
