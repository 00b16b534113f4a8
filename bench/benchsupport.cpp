#include "benchsupport.h"

#include <QEvent>
#include <QFile>
#include <QMetaObject>
#include <QWidget>
#include <cstdlib>

namespace kst::bench {

namespace {

// Calls a function once, after the first paint event of the watched widget has been handled
// (the call is queued behind it, so the painted window has also been flushed to the screen).
template <typename Function> class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* widget, Function function)
        : QObject(widget), function_(std::move(function)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !queued_) {
            queued_ = true;
            QMetaObject::invokeMethod(this, function_, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Function function_;
    bool queued_ = false;
};

} // namespace

QString BuildFolder() {
    return QStringLiteral(KST_BENCH_BUILD_FOLDER);
}

QString DemoImage() {
    return BuildFolder() + QStringLiteral("/demo/kestrune-demo.pce");
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

void StartupClock::FinishWhenPainted(QWidget* window) {
    auto finish = [this] { Finish(); };
    new AfterFirstPaint<decltype(finish)>(window, finish);
}

void StartupClock::Finish() {
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
    std::_Exit(0);
}

} // namespace kst::bench
