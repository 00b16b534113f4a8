#include "fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QWidget>

namespace kst {

namespace {

// A free font with Tahoma's metrics, as Debian's fonts-wine package installs it. The window
// uses the regular weight only.
constexpr char kTahomaFile[] = "/usr/share/wine/fonts/tahoma.ttf";

} // namespace

void LoadWindowFonts() {
    // Added whether or not the system knows a Tahoma: asking it first would cost more than
    // the adding, since Qt then looks for the name among every installed font's aliases.
    if (QFile::exists(QLatin1String(kTahomaFile)))
        QFontDatabase::addApplicationFont(QLatin1String(kTahomaFile));
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
