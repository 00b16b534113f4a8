#pragma once

namespace kst {

// The change rule of a control that edits a value of the image. It remembers the value stored
// in the file when the control was loaded or last written, and whether the user has changed
// the control since (typed, pasted or moved it, even to what it already showed). A save writes
// the control's value only when the user changed it and it differs from the stored value: a
// value the user left alone, or moved away and back again, is never written, so another
// program's change to it and a stored value beyond what the control can show both survive;
// and a value the user set is written even where the control already showed it, as a stored
// price above the ceiling shows as the ceiling.
class LoadedValue {
public:
    // The value the file holds now; the control holds no edit.
    void Load(int stored) {
        stored_ = stored;
        touched_ = false;
    }
    void Touch() { touched_ = true; }
    // Whether the control holds an edit that a save would write.
    bool Unapplied(int shown) const { return touched_ && shown != stored_; }

    template <typename Write> void SaveIfChanged(int shown, Write&& write) {
        if (!Unapplied(shown))
            return;
        write(shown);
        Load(shown);
    }

private:
    int stored_ = 0;
    bool touched_ = false;
};

} // namespace kst
