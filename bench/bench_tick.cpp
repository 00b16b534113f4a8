// Cost of one tick of the caption refresh, with no source changed and with the turbo slider
// moved before each tick, on the Enemy Racers page where that caption is on show. A tick that
// changes nothing should cost a small fraction of one that rewrites a caption, since an
// unchanged caption is neither repainted nor laid out again.
//
// Run natively it prints wall time per tick. Under callgrind
// (valgrind --tool=callgrind --instr-atstart=no bench_tick TICKS) only the ticks are
// instrumented and counted: each set of ticks ends in a dump of its own ("nothing changed",
// then "one caption changed") whose total divided by TICKS is the count of instructions per
// tick, a count that repeats from run to run, unlike a time. The slider move and the slider's
// own repaint are left out of both.
//
//   bench_tick [TICKS]
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "widgets/captionrefresh.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTabWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <valgrind/callgrind.h>

namespace {

// A repaint is only done for a window on show, so the ticks wait for the window to be exposed.
void ShowEnemyRacers(kst::MainWindow& window) {
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabs"));
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->property("tag").toString() == QLatin1String("enemyracers"))
            tabs->setCurrentIndex(i);
    window.show();
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

template <typename BeforeTick>
double NanosecondsPerTick(kst::CaptionRefresh& refresh, int ticks, const char* name,
                          BeforeTick before) {
    QElapsedTimer clock;
    qint64 elapsed = 0;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < ticks; ++i) {
        CALLGRIND_TOGGLE_COLLECT;
        before(i);
        QCoreApplication::sendPostedEvents();
        CALLGRIND_TOGGLE_COLLECT;
        clock.start();
        refresh.Tick();
        QCoreApplication::sendPostedEvents(); // the repaints and relayouts a change asks for
        elapsed += clock.nsecsElapsed();
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    CALLGRIND_DUMP_STATS_AT(name);
    return double(elapsed) / ticks;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kst::bench::BenchHost host;
    kst::MainWindow window(host);
    window.Start();
    if (window.Ended())
        return 1;
    ShowEnemyRacers(window);
    // The window's own refresh, with the captions the pages registered.
    kst::CaptionRefresh& refresh = *window.findChild<kst::CaptionRefresh*>();
    auto* slider = window.findChild<QSlider*>(QStringLiteral("TurboSLDR"));
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 20000;

    refresh.Tick();
    const double unchanged = NanosecondsPerTick(refresh, ticks, "nothing changed", [](int) {});
    const double changed = NanosecondsPerTick(refresh, ticks, "one caption changed",
                                              [&](int i) { slider->setValue(i % 100); });
    std::printf("caption refresh, %d ticks each\n", ticks);
    if (RUNNING_ON_VALGRIND)
        return 0; // the counts are in the two dumps
    std::printf("  nothing changed:     %8.0f ns per tick\n", unchanged);
    std::printf("  one caption changed: %8.0f ns per tick\n", changed);
    std::printf("  ratio unchanged / changed: %.2f\n", unchanged / changed);
    return 0;
}
