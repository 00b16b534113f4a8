#include "fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QWidget>

namespace kst {

namespace {

// Free fonts with Tahoma's metrics, as Debian's fonts-wine package installs them.
constexpr const char* kTahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                        "/usr/share/wine/fonts/tahomabd.ttf"};

} // namespace

void LoadWindowFonts() {
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        for (const char* file : kTahomaFiles)
            if (QFile::exists(QLatin1String(file)))
                QFontDatabase::addApplicationFont(QLatin1String(file));
    }
    // DejaVu Sans descends from a design with Verdana's proportions.
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
}

void ApplyWindowFonts(QWidget* window) {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    window->setFont(tahoma);

    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSizeF(9.75);
    window->findChild<QLabel*>(QStringLiteral("Label10"))->setFont(verdana);
}

} // namespace kst
