#include "shoptable.h"

namespace kst {

namespace {

constexpr const char* kMotors[] = {"Buzz Motor", "Din Motor", "Spur Motor", "Lug Motor",
                                   "VX Motor",   "Cad Motor", "Z35 Motor",  "Vette Motor",
                                   "Acme Motor", "Posh Motor"};
constexpr const char* kTires[] = {"GP Tire",   "Tiger Tire", "111 Tire", "Lucky Tire", "ZZZ Tire",
                                  "ABX Tire",  "Dummy",      "AMI Tire", "Rich Tire",  "Stone Tire",
                                  "Acme Tire", "B.G. Tire",  "Dummy"};
constexpr const char* kWings[] = {"Dummy",     "Dove Wing", "ZZZ Wing",
                                  "Hawk Wing", "F17 Wing",  "Acme Wing"};
constexpr const char* kFuels[] = {"Dummy",      "Norm Fuel",  "Mid Fuel",   "Crown Fuel",
                                  "Hyper Fuel", "Don's Fuel", "Zitco Fuel", "AOK Fuel",
                                  "Dummy",      "FX Fuel",    "Acme Fuel",  "Super Fuel"};
constexpr const char* kBodies[] = {"Dummy",   "Bob's Body", "AOK Body",   "Slm Body",
                                   "FX Body", "Acme Body",  "Light Body", "Dummy"};

} // namespace

// Left to right on the page. Between the motors and the tires lie two strides (0x179F8 and
// 0x179FD), between the wings and the fuels one (0x17A61), between the fuels and the bodies one
// (0x17AA2); no list reaches them.
const std::array<ShopCategory, 5> kShopCategories = {{
    {"MotorLST", "MotorCostTXT", "MotorCostLBL", 0x179C6, Names(kMotors)},
    {"TireLST", "TireCostTXT", "TireCostLBL", 0x17A02, Names(kTires)},
    {"WingLST", "WingCostTXT", "WingCostLBL", 0x17A43, Names(kWings)},
    {"FuelLST", "FuelCostTXT", "FuelCostLBL", 0x17A66, Names(kFuels)},
    {"BodyLST", "BodyCostTXT", "BodyCostLBL", 0x17AA7, Names(kBodies)},
}};

} // namespace kst
