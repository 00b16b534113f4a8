// Cost of one tick of the caption refresh, with no source changed and with one slider moved
// before each tick. A tick that changes nothing should cost a small fraction of one that
// rewrites a caption, since an unchanged caption is neither repainted nor laid out again.
#include "app/host.h"
#include "app/mainwindow.h"
#include "app/programcontrol.h"
#include "app/romimage.h"
#include "shops/captionrefresh.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSlider>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class BenchHost : public kst::Host {
public:
    explicit BenchHost(QString folder, QString rom) : folder_(folder), rom_(rom) {}
    QString ChooseFile(QWidget*, const QStringList&, const QString&) override { return rom_; }
    void ShowMessage(QWidget*, const kst::Message& message) override {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(message.text));
    }
    QString ProgramFolder() const override { return folder_; }
    void EndProgram(int) override {}

private:
    QString folder_, rom_;
};

template <typename BeforeTick>
double NanosecondsPerTick(kst::CaptionRefresh& refresh, int ticks, BeforeTick before) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < ticks; ++i) {
        before(i);
        refresh.Tick();
        QCoreApplication::sendPostedEvents(); // the repaints and relayouts a change asks for
    }
    return double(clock.nsecsElapsed()) / ticks;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QByteArray image(393216, '\0');
    image[0] = '\x4C';
    image[1] = '\x40';
    QFile rom(dir.filePath("bench.pce"));
    QFile table(dir.filePath("KST.tbl"));
    if (!rom.open(QIODevice::WriteOnly) || rom.write(image) != image.size() ||
        !table.open(QIODevice::WriteOnly))
        return 1;
    rom.close();
    table.close();

    BenchHost host(dir.path(), rom.fileName());
    kst::MainWindow window(host);
    window.Start();
    window.show();
    kst::RomImage unused;
    kst::ProgramControl control(host, unused);
    kst::CaptionRefresh refresh(&window, control);
    auto* slider = window.findChild<QSlider*>(QStringLiteral("TurboSLDR"));
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 20000;

    refresh.Tick();
    const double unchanged = NanosecondsPerTick(refresh, ticks, [](int) {});
    const double changed =
        NanosecondsPerTick(refresh, ticks, [&](int i) { slider->setValue(i % 100); });
    std::printf("caption refresh, %d ticks each\n", ticks);
    std::printf("  nothing changed:    %8.0f ns per tick\n", unchanged);
    std::printf("  one caption changed: %8.0f ns per tick\n", changed);
    std::printf("  ratio unchanged / changed: %.2f\n", unchanged / changed);
    return 0;
}
