#pragma once

class QAbstractItemView;

namespace kst {

// Lets a list's rows shrink from the height the style gives them towards its font's line
// height, as far as it takes to show every entry without a scroll bar. The fixed layout is
// measured for the rows of the Fusion style, which are the font's lines; the Windows style
// adds two pixels, which would give the tire list a scroll bar that cuts its longest names.
// A list too long to show whole keeps the style's rows.
void ShrinkRowsToFit(QAbstractItemView* list);

} // namespace kst
