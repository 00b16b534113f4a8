#include "app/fonts.h"
#include "app/mainwindow.h"
#include "core/host.h"

#include <QApplication>

int main(int argc, char** argv) {
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
