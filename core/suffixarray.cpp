// Prefix doubling: the suffixes are sorted by their first symbol, then by their first 2, 4, 8...
// symbols, each round a stable counting sort of the pairs of ranks the round before gave, until
// every suffix has a rank of its own. The shared lengths follow in one pass over the text.
#include "suffixarray.h"

#include <algorithm>

namespace kst {

namespace {

// Sorts the positions, already in the order of their second key, stably by their rank.
void SortByRank(const std::vector<qint32>& positions, const std::vector<qint32>& rank, qint32 ranks,
                std::vector<qint32>& count, std::vector<qint32>& sorted) {
    std::fill(count.begin(), count.begin() + ranks + 1, 0);
    for (const qint32 at : positions)
        ++count[rank[at] + 1];
    for (qint32 r = 1; r <= ranks; ++r)
        count[r] += count[r - 1];
    for (const qint32 at : positions)
        sorted[count[rank[at]]++] = at;
}

// The length each suffix shares with the one before it in order, each found from the one before
// it in the text less one symbol.
std::vector<qint32> SharedLengths(const std::vector<qint32>& text, const SuffixArray& suffixes) {
    const qint32 n = qint32(text.size());
    std::vector<qint32> shared(n, 0);
    for (qint32 at = 0, length = 0; at < n; ++at) {
        const qint32 rank = suffixes.rankOf[at];
        if (rank == 0) {
            length = 0;
            continue;
        }
        const qint32 before = suffixes.order[rank - 1];
        while (at + length < n && before + length < n && text[at + length] == text[before + length])
            ++length;
        shared[rank] = length;
        length = std::max(length - 1, 0);
    }
    return shared;
}

} // namespace

SuffixArray BuildSuffixArray(const std::vector<qint32>& text, qint32 alphabet) {
    const qint32 n = qint32(text.size());
    SuffixArray suffixes;
    std::vector<qint32>& order = suffixes.order;
    std::vector<qint32> rank = text, next(n), count(std::max(alphabet, n) + 1), identity(n);
    for (qint32 at = 0; at < n; ++at)
        identity[at] = at;
    order.resize(n);
    SortByRank(identity, rank, alphabet, count, order);
    for (qint32 half = 1, ranks = alphabet;; half *= 2) {
        // The second key of a suffix is the rank of the one half further on; those that run
        // past the end have none and come first.
        qint32 placed = 0;
        for (qint32 at = std::max(n - half, 0); at < n; ++at)
            next[placed++] = at;
        for (const qint32 at : order)
            if (at >= half)
                next[placed++] = at - half;
        SortByRank(next, rank, ranks, count, order);
        const auto second = [&](qint32 at) { return at + half < n ? rank[at + half] : -1; };
        next[order[0]] = 0;
        ranks = 1;
        for (qint32 r = 1; r < n; ++r) {
            const qint32 at = order[r], before = order[r - 1];
            const bool same = rank[at] == rank[before] && second(at) == second(before);
            next[at] = same ? next[before] : ranks++;
        }
        rank.swap(next);
        if (ranks == n)
            break;
    }
    suffixes.rankOf = std::move(rank);
    suffixes.shared = SharedLengths(text, suffixes);
    return suffixes;
}

} // namespace kst
