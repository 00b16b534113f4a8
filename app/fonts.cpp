#include "fonts.h"

#include "widgets/widgets.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QWidget>

namespace kst {

namespace {

#ifdef Q_OS_WIN
// Windows has both fonts the window is measured for.
constexpr char kCreditFont[] = "Verdana";
#else
// A free font with Tahoma's metrics, as Debian's fonts-wine package installs it. The window
// uses the regular weight only.
constexpr char kTahomaFile[] = "/usr/share/wine/fonts/tahoma.ttf";
// The credit line's Verdana is drawn in DejaVu Sans, which descends from a design with
// Verdana's proportions. It is asked for by that name: asking for a "Verdana" that is not
// installed would first look for it in vain and ask fontconfig for its fallbacks.
constexpr char kCreditFont[] = "DejaVu Sans";
#endif

} // namespace

void LoadWindowFonts() {
#ifndef Q_OS_WIN
    // Added whether or not the system knows a Tahoma: asking it first would cost more than
    // the adding, since Qt then looks for the name among every installed font's aliases.
    if (QFile::exists(QLatin1String(kTahomaFile)))
        QFontDatabase::addApplicationFont(QLatin1String(kTahomaFile));
#endif
}

void ApplyWindowFonts(QWidget* window) {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    window->setFont(tahoma);

    QFont verdana{QLatin1String(kCreditFont)};
    verdana.setPointSizeF(9.75);
    Child<QLabel>(window, "Label10")->setFont(verdana);
}

} // namespace kst
