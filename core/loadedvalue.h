#pragma once

namespace kst {

// The value a control showed when it was last loaded from the image or written into it. A save
// writes the control's value only when it differs from this one, so a value the user left
// alone, or moved away and back again, is never written: another program's change to it,
// another editor's, and a stored value beyond what the control can show all survive.
class LoadedValue {
public:
    void Load(int shown) { shown_ = shown; }

    template <typename Write> void SaveIfChanged(int shown, Write&& write) {
        if (shown == shown_)
            return;
        write(shown);
        shown_ = shown;
    }

private:
    int shown_ = 0;
};

} // namespace kst
