#pragma once

namespace kst {

// The game's 38 races, offered as "Index 1" to "Index 38"; race index i is entry i.
constexpr int kRaceCount = 38;

// An enemy racer: the key of its portrait and the name shown under it.
struct Racer {
    const char* portrait;
    const char* name;
};

// Who races in each race, by race index; 16 races have a second racer (second.portrait is
// null in the others). Fixed in the program: nothing of it comes from the ROM.
struct RaceRacers {
    Racer first;
    Racer second;
};

extern const RaceRacers kRoster[kRaceCount];

// The track picture of each racer of a race, by race index; a null key leaves its box empty.
// The second box is used by exactly the races with a second racer.
struct RaceTracks {
    const char* first;
    const char* second;
};

extern const RaceTracks kTracks[kRaceCount];

} // namespace kst
