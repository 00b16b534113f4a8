#include "tracknames.h"

#include <cstring>

namespace kst {

namespace {

struct TrackWords {
    const char* key;
    const char* name;
};

// The keys name the pictures' shapes in short; spoken letter by letter or as one word they
// would mean nothing.
constexpr TrackWords kTrackNames[] = {
    {"oval", "Oval"},
    {"figure8", "Figure eight"},
    {"wing", "Wing"},
    {"coupe", "Coupe"},
    {"key", "Key"},
    {"seven", "Seven"},
    {"ma", "M A"},
    {"p90", "P 90"},
    {"santasled", "Santa's sleigh"},
    {"comb", "Comb"},
};

} // namespace

const char* TrackName(const char* key) {
    for (const TrackWords& track : kTrackNames)
        if (std::strcmp(track.key, key) == 0)
            return track.name;
    return key;
}

} // namespace kst
