#pragma once

#include <QtGlobal>
#include <vector>

namespace kst {

// The suffixes of a text, in order, and how much each shares with the one before it: what finds
// the longest earlier stretch equal to any stretch by looking only at its neighbours.
struct SuffixArray {
    std::vector<qint32> order;  // where each suffix starts, in the order of the suffixes
    std::vector<qint32> rankOf; // the place in order of the suffix starting at each position
    std::vector<qint32> shared; // the length of the start shared by order[r - 1] and order[r]
};

// The text's symbols run from 0 to alphabet - 1; the last must occur nowhere else, so that no
// suffix is the start of another.
SuffixArray BuildSuffixArray(const std::vector<qint32>& text, qint32 alphabet);

} // namespace kst
