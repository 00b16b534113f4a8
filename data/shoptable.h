#pragma once

#include <QtGlobal>
#include <array>

namespace kst {

// A fixed list of names built into the program.
struct NameList {
    const char* const* names;
    int count;
};

template <std::size_t N> constexpr NameList Names(const char* const (&names)[N]) {
    return {names, static_cast<int>(N)};
}

// One category of shop parts: its controls on the "Shops" page and where its prices lie.
// The price of entry i is a little-endian word at ROM offset baseOffset + 5 * i; the other
// three bytes of each five-byte stride belong to the game and are never touched.
struct ShopCategory {
    const char* list;
    const char* priceBox;
    const char* dollarCaption;
    quint32 baseOffset;
    NameList parts;
};

constexpr quint32 kPriceStride = 5;
// Prices are counts of tens of dollars; the editor keeps them at or below $320,000.
constexpr int kPriceCeiling = 32000;

extern const std::array<ShopCategory, 5> kShopCategories;

constexpr quint32 PriceOffset(const ShopCategory& category, int entry) {
    return category.baseOffset + kPriceStride * static_cast<quint32>(entry);
}

} // namespace kst
