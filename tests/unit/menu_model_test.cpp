#include <gtest/gtest.h>

#include "config/menu_model.h"

namespace {

TEST(MenuModel, StartsEmptyWithNothingSelected) {
    const Menu fresh;
    EXPECT_EQ(fresh.scale, 1.0f);
    EXPECT_EQ(fresh.selectedIndex, -1);
    EXPECT_EQ(fresh.armedIndex, -1);
    EXPECT_TRUE(fresh.isActive);
    EXPECT_FALSE(fresh.isPressed);
    EXPECT_EQ(fresh.buttonCount, 0);
    EXPECT_EQ(fresh.languageCount, 0);
    EXPECT_EQ(ToColorValue(fresh.backColor), 0u);
    EXPECT_EQ(ToColorValue(fresh.bulletColorHi), 0u);
    EXPECT_EQ(fresh.buttons[kMaxButtons - 1].name[0], 0);
    EXPECT_EQ(fresh.mainWindow, nullptr);
    EXPECT_EQ(fresh.programFolder[0], 0);
}

TEST(MenuModel, ColoursDrawWithTheLowEightBitsOfEachComponent) {
    EXPECT_EQ(ToColorValue(ColorTriple{255, 181, 0}), 0x0000B5FFu);
    EXPECT_EQ(ToColorValue(ColorTriple{300, 0, 0}), 44u);
    EXPECT_EQ(ToColorValue(ColorTriple{-1, 0, 256}), 0x000000FFu);
    EXPECT_EQ(ToColorValue(ColorTriple{INT32_MIN, INT32_MAX, -256}), 0x0000FF00u);
}

}  // namespace
