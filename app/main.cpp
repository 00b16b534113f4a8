#include "app/fonts.h"
#include "app/host.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <csignal>

int main(int argc, char** argv) {
    // A file size limit then fails the write with EFBIG, which is reported like any other
    // failed write, instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    kst::LoadWindowFonts();
    kst::DesktopHost host;
    kst::MainWindow window(host);
    window.Start();
    if (host.Ended())
        return host.ExitCode();
    window.show();
    return app.exec();
}
