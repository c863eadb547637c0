#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/accessible_tree.h"
#include "config_fixture.h"
#include "platform/messages.h"

namespace {

using accessible::kRoleClient;
using accessible::kRolePushButton;
using accessible::kRoleStaticText;
using accessible::kStateFocusable;
using accessible::kStateFocused;
using accessible::kStateHotTracked;

std::u16string NameOf(int32_t child) {
    const char16_t* name = AccessibleName(child);
    return name != nullptr ? std::u16string(name) : u"(none)";
}

class AccessibleTree : public ConfigTest {
protected:
    // The sample disc's menu in the language tag, its list made.
    void LoadSample(const char16_t* tag) {
        iniReader.Clear();
        ASSERT_TRUE(iniReader.Load(TESSALINE_SAMPLE_DISC "/install.ini"));
        char16_t buffer[kLanguageTagCapacity];
        std::char_traits<char16_t>::copy(buffer, tag, std::char_traits<char16_t>::length(tag) + 1);
        ASSERT_EQ(LoadMenuConfiguration(buffer), 0);
        menu.mainWindow = FakeWindow(1);
        menu.languageBox = FakeWindow(2);
    }
    // `count` buttons 100 x 20 in a column 30 pixels apart, no list.
    void Column(int32_t count) {
        menu.mainWindow = FakeWindow(1);
        menu.buttonCount = count;
        for (int32_t i = 0; i < count; ++i) {
            menu.buttons[i].rect = Rect{10, 10 + 30 * i, 110, 30 + 30 * i};
            menu.buttons[i].name[0] = static_cast<char16_t>(u'A' + i);
        }
        menu.helpRect = Rect{200, 10, 400, 100};
        menu.copyrightPos = Point{200, 300};
        std::char_traits<char16_t>::copy(menu.copyrightText, u"(c) 12", 7);  // 6 x 7 wide, 13 high
    }
};

TEST_F(AccessibleTree, TheSampleDiscHasItsButtonsHelpCopyrightAndList) {
    LoadSample(u"0x09");
    ASSERT_EQ(AccessibleChildCount(), 7);
    const struct {
        uint32_t role;
        std::u16string name;
        Rect rect;
    } expected[] = {
        {kRoleClient, u"(none)", {}},
        {kRolePushButton, u"Read me", {40, 132, 248, 164}},
        {kRolePushButton, u"Run the sample tool", {40, 180, 248, 212}},
        {kRolePushButton, u"Browse the disc", {40, 228, 248, 260}},
        {kRolePushButton, u"Exit", {40, 348, 248, 380}},
        {kRoleStaticText, std::u16string(menu.defaultHelp), {300, 310, 606, 392}},
        {kRoleStaticText, u"Sample disc for the Tessaline menu. Free to copy.", {}},
        {0, u"(none)", {}},
    };
    for (int32_t child = 0; child < 8; ++child) {
        SCOPED_TRACE(child);
        EXPECT_EQ(AccessibleRole(child), expected[child].role);
        EXPECT_EQ(NameOf(child), expected[child].name);
        Rect rect{};
        if (child >= 1 && child <= 5) {
            ASSERT_TRUE(AccessibleLocation(child, &rect));
            EXPECT_EQ(rect, expected[child].rect);
        }
    }
    EXPECT_EQ(AccessibleKindOf(7), AccessibleKind::LanguageList);
    EXPECT_EQ(AccessibleKindOf(8), AccessibleKind::None);
    EXPECT_EQ(std::u16string(AccessibleDescription(4)), u"Closes this menu.");
    EXPECT_EQ(AccessibleDescription(5), nullptr);
    EXPECT_FALSE(AccessibleLocation(0, nullptr));
}

TEST_F(AccessibleTree, ALanguageSwitchRenamesButtonsHelpAndCopyright) {
    LoadSample(u"0x09");
    std::vector<std::u16string> before;
    for (int32_t child = 1; child <= 6; ++child) before.push_back(NameOf(child));
    LoadSample(u"0x07");
    EXPECT_EQ(NameOf(1), u"Lies mich");
    for (int32_t child = 1; child <= 6; ++child) EXPECT_NE(NameOf(child), before[child - 1]) << child;
}

TEST_F(AccessibleTree, TwelveButtonsWithoutAListAndAnEmptyCaption) {
    Column(12);
    menu.buttons[11].name[0] = 0;
    EXPECT_EQ(AccessibleChildCount(), 14);
    EXPECT_EQ(AccessibleRole(12), kRolePushButton);
    EXPECT_EQ(NameOf(12), u"") << "an empty caption is an empty name, not none";
    EXPECT_EQ(AccessibleRole(14), kRoleStaticText);
    EXPECT_EQ(AccessibleKindOf(15), AccessibleKind::None);
    menu.buttonCount = 40;  // more than the model holds: only what the loader kept
    EXPECT_EQ(AccessibleChildCount(), 14);
}

TEST_F(AccessibleTree, HitTestsFollowTheHoverRulesThenHelpAndCopyright) {
    Column(3);
    menu.buttons[2].rect = menu.buttons[0].rect;
    const struct {
        Point at;
        int32_t selected;
        int32_t armed;
        int32_t child;
    } cases[] = {
        {{50, 20}, -1, -1, 3},   // overlapping: the last one, as hovering picks
        {{50, 20}, 0, -1, 1},    // unless the first is already highlighted
        {{50, 20}, -1, 1, 3},    // a held press on another button hides none
        {{50, 50}, 1, 1, 2},
        {{50, 50}, -1, -1, 2},
        {{110, 50}, -1, -1, 0},  // right and bottom edges are outside
        {{200, 10}, -1, -1, 4},
        {{241, 312}, -1, -1, 5},
        {{242, 312}, -1, -1, 0},
    };
    for (const auto& c : cases) {
        menu.selectedIndex = c.selected;
        menu.armedIndex = c.armed;
        EXPECT_EQ(AccessibleHitTest(c.at.x, c.at.y), c.child) << c.at.x << "," << c.at.y << " sel " << c.selected;
    }
    EXPECT_EQ(OpenObjects(), 0u) << "the measuring context is released";
}

TEST_F(AccessibleTree, StatesFocusAndHotTracking) {
    Column(3);
    menu.selectedIndex = 1;
    menu.lastMousePos = Point{50, 80};  // over button 3
    menu.pointerInside = true;
    EXPECT_EQ(AccessibleState(1), kStateFocusable);
    EXPECT_EQ(AccessibleState(2), kStateFocusable | kStateFocused);
    EXPECT_EQ(AccessibleState(3), kStateFocusable | kStateHotTracked);
    EXPECT_EQ(AccessibleState(4), 0u);
    menu.pointerInside = false;
    EXPECT_EQ(AccessibleState(3), kStateFocusable) << "the pointer has left the window";
    EXPECT_EQ(AccessibleFocus(KeyboardFocus::Elsewhere), 2);
    menu.selectedIndex = -1;
    EXPECT_EQ(AccessibleFocus(KeyboardFocus::Elsewhere), -1);
    EXPECT_EQ(AccessibleFocus(KeyboardFocus::Menu), 0) << "the menu itself, nothing highlighted";
    EXPECT_EQ(AccessibleFocus(KeyboardFocus::List), -1) << "no list, no list focus";
    menu.languageBox = FakeWindow(2);
    EXPECT_EQ(AccessibleFocus(KeyboardFocus::List), 6);
}

TEST_F(AccessibleTree, NavigationFollowsTabOrderWithoutWrapping) {
    Column(2);
    EXPECT_EQ(AccessibleNavigate(0, true), 1);
    EXPECT_EQ(AccessibleNavigate(0, false), 4);
    EXPECT_EQ(AccessibleNavigate(1, true), 2);
    EXPECT_EQ(AccessibleNavigate(4, true), -1);
    EXPECT_EQ(AccessibleNavigate(1, false), -1);
    menu.languageBox = FakeWindow(2);
    EXPECT_EQ(AccessibleNavigate(0, true), 5) << "the list comes first in Tab order";
    EXPECT_EQ(AccessibleNavigate(5, true), 1);
    EXPECT_EQ(AccessibleNavigate(1, false), 5);
    EXPECT_EQ(AccessibleNavigate(9, true), -1);
}

}  // namespace
