#pragma once

// The controls of each shop category in the Shops page's form, left to right.
#include "ui_shopspage.h"

namespace kst {

struct ShopColumn {
    const char* kind;
    QListWidget* Ui_ShopsPage::*list;
    QLineEdit* Ui_ShopsPage::*price;
    QLabel* Ui_ShopsPage::*caption;
};

inline constexpr ShopColumn kShopColumns[] = {
    {"shop.motor", &Ui_ShopsPage::MotorLST, &Ui_ShopsPage::MotorCostTXT,
     &Ui_ShopsPage::MotorCostLBL},
    {"shop.tire", &Ui_ShopsPage::TireLST, &Ui_ShopsPage::TireCostTXT, &Ui_ShopsPage::TireCostLBL},
    {"shop.wing", &Ui_ShopsPage::WingLST, &Ui_ShopsPage::WingCostTXT, &Ui_ShopsPage::WingCostLBL},
    {"shop.fuel", &Ui_ShopsPage::FuelLST, &Ui_ShopsPage::FuelCostTXT, &Ui_ShopsPage::FuelCostLBL},
    {"shop.body", &Ui_ShopsPage::BodyLST, &Ui_ShopsPage::BodyCostTXT, &Ui_ShopsPage::BodyCostLBL},
};

} // namespace kst
