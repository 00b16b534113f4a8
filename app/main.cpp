#include "app/fonts.h"
#include "app/host.h"
#include "app/mainwindow.h"

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
