#include "benchsupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMetaObject>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kst::bench {

namespace {

// Calls a function once, after the first paint of the watched window or of any widget in it
// that happened while the window was complete (the call is queued behind the paint, so what was
// painted has also been flushed to the screen). A caption set later is painted on its own,
// without the window, so every widget's paints are watched.
class AfterCompletePaint : public QObject {
public:
    AfterCompletePaint(QWidget* window, std::function<bool()> complete,
                       std::function<void()> function)
        : QObject(window), window_(window), complete_(std::move(complete)),
          function_(std::move(function)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !queued_ && PartOfWindow(watched) && complete_()) {
            queued_ = true;
            QMetaObject::invokeMethod(this, function_, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool PartOfWindow(QObject* object) const {
        auto* widget = qobject_cast<QWidget*>(object);
        return widget && (widget == window_ || window_->isAncestorOf(widget));
    }

    QWidget* window_;
    std::function<bool()> complete_;
    std::function<void()> function_;
    bool queued_ = false;
};

} // namespace

QString BuildFolder() {
    return QStringLiteral(KST_BENCH_BUILD_FOLDER);
}

QString DemoImage() {
    return BuildFolder() + QStringLiteral("/demo/kestrune-demo.pce");
}

double MedianMicroseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(clock.nsecsElapsed() / 1e3);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

long StatusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').constFirst().toLong();
    return -1;
}

StartupClock::StartupClock(int argc, char** argv) {
    clock_.start();
    if (argc == 3 && qstrcmp(argv[1], "--grab") == 0)
        grabFile_ = QString::fromLocal8Bit(argv[2]);
    stay_ = argc == 2 && qstrcmp(argv[1], "--stay") == 0;
}

void StartupClock::FinishWhenComplete(QWidget* window, std::function<bool()> complete) {
    new AfterCompletePaint(window, std::move(complete), [this, window] { Finish(window); });
}

void StartupClock::Finish(QWidget* window) {
    Mark("paint");
    double previous = 0;
    for (const auto& [step, ms] : marks_) {
        std::printf("%s_ms %.3f\n", step, ms - previous);
        previous = ms;
    }
    std::printf("main_ms %.3f\n", previous);
    std::printf("rss_kb %ld\n", StatusKilobytes("VmRSS"));
    std::printf("rss_anon_kb %ld\n", StatusKilobytes("RssAnon"));
    std::printf("rss_file_kb %ld\n", StatusKilobytes("RssFile"));
    std::fflush(stdout);
    if (!grabFile_.isEmpty() && !window->grab().save(grabFile_, "PNG"))
        std::_Exit(1);
    if (!stay_)
        std::_Exit(0);
}

} // namespace kst::bench
