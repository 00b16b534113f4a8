#pragma once

namespace kst {

// What a track picture shows, in words a screen reader can speak, by its key in the track
// pictures ("figure8" is "Figure eight"). An unknown key is its own name.
const char* TrackName(const char* key);

} // namespace kst
