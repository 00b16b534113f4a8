#pragma once

class QWidget;

namespace kst {

// Makes the window's fonts available: the layout is measured in pixels for Tahoma, so a font
// with Tahoma's metrics is loaded where the system has none of that name.
void LoadWindowFonts();

// Gives the window its Tahoma 8.25 pt and the credit line its Verdana 9.75 pt (in a stand-in).
void ApplyWindowFonts(QWidget* window);

} // namespace kst
