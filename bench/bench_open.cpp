// Opening an image: MainWindow::Start with the demo image chosen, which runs every loader and
// the fetch of the 21 game words, as the program does before it shows its window. The first
// open is timed alone, then the median of OPENS - 1 more on the same window (File > Open).
// With OPENS = 1 it opens once, for counting the image's reads and writes under strace.
//
//   bench_open [OPENS]
#include "app/mainwindow.h"
#include "benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double MicrosecondsToStart(kst::MainWindow& window) {
    QElapsedTimer clock;
    clock.start();
    window.Start();
    const double microseconds = clock.nsecsElapsed() / 1e3;
    if (window.Ended())
        std::exit(1);
    return microseconds;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int opens = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    kst::bench::BenchHost host;
    kst::MainWindow window(host);

    std::printf("open_first_us %.1f\n", MicrosecondsToStart(window));
    if (opens == 1)
        return 0;
    std::vector<double> again;
    for (int i = 1; i < opens; ++i)
        again.push_back(MicrosecondsToStart(window));
    std::nth_element(again.begin(), again.begin() + again.size() / 2, again.end());
    std::printf("open_again_us %.1f\n", again[again.size() / 2]);
    return 0;
}
