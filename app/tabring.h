#pragma once

namespace Ui {
class Main;
}

namespace kst {

// Orders the window's Tab ring once the pages have filled their frames. Tab visits only the
// page on show; from the window on, the ring runs through the race page, the shops page, the
// buttons, the tab strip and the text page, so the shops page's first price box takes the
// focus when the window opens on it.
void OrderTabRing(const Ui::Main& window);

} // namespace kst
