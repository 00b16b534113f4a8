#pragma once

namespace kst {

// Replaces the accessible interfaces Qt gives the text boxes, the tab strip and the lists by
// our own: text boxes that answer every text query at every offset, tabs that report which one
// is selected, and list items that never claim the keyboard focus the list holds. Must run
// before the window's controls are first asked for their interfaces.
void InstallAccessibleInterfaces();

} // namespace kst
