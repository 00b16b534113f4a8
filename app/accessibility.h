#pragma once

class QWidget;

namespace kst {

// Gives the window's controls the names and descriptions that assistive technology reads.
// The portraits and track pictures start with their role as name; each race shown replaces it
// with the racer's name or the track's readable name (see RacersPage).
void ApplyAccessibleTexts(QWidget* window);

} // namespace kst
