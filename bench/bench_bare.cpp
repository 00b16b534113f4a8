// The second yardstick for the editor's start-up: a Qt Widgets program of the same build that
// shows an empty main window about the editor's size, and ends once it is painted. It draws no
// text, so it is a bound no window with text can reach; bench_floor is the fair one.
#include "benchsupport.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    kst::bench::StartupClock clock(argc, argv);
    QApplication app(argc, argv);
    clock.Mark("app");
    QMainWindow window;
    // The editor's 666 x 391 client area and a menu bar's height.
    window.resize(666, 411);
    clock.Mark("window");
    clock.FinishWhenPainted(&window);
    window.show();
    clock.Mark("show");
    return app.exec();
}
