#include "roster.h"

namespace kst {

const RaceRacers kRoster[kRaceCount] = {
    {{"stingysam", "Stingy Sam"}, {}},
    {{"kidquick", "Kid Quick"}, {"tankjones", "Tank Jones"}},
    {{"fastfrank", "Fast Frank"}, {}},
    {{"ken", "Ken"}, {}},
    {{"redsmith", "Red Smith"}, {}},
    {{"guido", "Guido"}, {"unclejohn", "Uncle John"}},
    {{"sneakysal", "Sneaky Sal"}, {"sloppysue", "Sloppy Sue"}},
    {{"adamevil", "Adam Evil"}, {}},
    {{"wilywilly", "Wily Willy"}, {}},
    {{"crazymary", "Crazy Mary"}, {"maxspeed", "Max Speed"}},
    {{"badbetty", "Bad Betty"}, {}},
    {{"alunder", "Al Under"}, {"alice", "Alice"}},
    {{"sidsunny", "Sid Sunny"}, {"luigi", "Luigi"}},
    {{"katecute", "Kate Cute"}, {"hiccupjim", "Hiccup Jim"}},
    {{"dougdrag", "Doug Drag"}, {}},
    {{"macslack", "Mac Slack"}, {}},
    {{"meanmike", "Mean Mike"}, {"anne", "Anne"}},
    {{"shorty", "Shorty"}, {}},
    {{"dickrich", "Dick Rich"}, {"moose", "Moose"}},
    {{"oilyed", "Oily Ed"}, {"frenchy", "Frenchy"}},
    {{"tomtrendy", "Tom Trendy"}, {}},
    {{"dondanger", "Don Danger"}, {"slimtim", "Slim Tim"}},
    {{"tedled", "Ted Led"}, {"jeffjam", "Jeff Jam"}},
    {{"sadie", "Sadie"}, {"sadjack", "Sad Jack"}},
    {{"bossross", "Boss Ross"}, {}},
    {{"happyhal", "Happy Hal"}, {"freduno", "Fred Uno"}},
    {{"amanda", "Amanda"}, {"bubba", "Bubba"}},
    {{"loneluke", "Lone Luke"}, {}},
    {{"marklark", "Mark Lark"}, {}},
    {{"boldbill", "Bold Bill"}, {"jerryjerk", "Jerry Jerk"}},
    {{"bigmick", "Big Mick"}, {}},
    {{"rickdrift", "Rick Drift"}, {}},
    {{"nancyslick", "Nancy Slick"}, {}},
    {{"dummy", "Dummy (Unused)"}, {}},
    {{"vitorico", "Vito Rico"}, {}},
    {{"fatpat", "Fat Pat"}, {}},
    {{"alanpross", "Alan Pross"}, {}},
    {{"sherry", "Sherry"}, {}},
};

const RaceTracks kTracks[kRaceCount] = {
    {"oval", nullptr},      {"oval", "figure8"}, {"figure8", nullptr}, {"oval", nullptr},
    {"figure8", nullptr},   {"figure8", "oval"}, {"wing", "figure8"},  {"coupe", nullptr},
    {"figure8", nullptr},   {"coupe", "wing"},   {"key", nullptr},     {"key", "oval"},
    {"seven", "ma"},        {"p90", "key"},      {"ma", nullptr},      {"wing", nullptr},
    {"p90", "ma"},          {"ma", nullptr},     {"key", "key"},       {"seven", "wing"},
    {"coupe", nullptr},     {"key", "key"},      {"key", "wing"},      {"seven", "ma"},
    {"key", nullptr},       {"ma", "key"},       {"figure8", "wing"},  {"coupe", nullptr},
    {"figure8", nullptr},   {"key", "seven"},    {"oval", nullptr},    {"figure8", nullptr},
    {"coupe", nullptr},     {nullptr, nullptr},  {"wing", nullptr},    {"p90", nullptr},
    {"santasled", nullptr}, {"key", nullptr},
};

} // namespace kst
