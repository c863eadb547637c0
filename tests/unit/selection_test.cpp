#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/selection.h"
#include "config/menu_model.h"
#include "config/wide_text.h"
#include "platform/messages.h"
#include "render/menu_painting.h"
#include "support/expect_calls.h"

namespace {

// The launches the selection asked for, with the selection state each saw.
struct Launch {
    int32_t index;
    int32_t armed;
    bool pressed;
};
std::vector<Launch> launches;

void RecordLaunch(int32_t index) {
    launches.push_back(Launch{index, menu.armedIndex, menu.isPressed});
}

// The buttons launched since the last call.
std::vector<int32_t> Launched() {
    std::vector<int32_t> indexes;
    for (const Launch& launch : launches) indexes.push_back(launch.index);
    launches.clear();
    return indexes;
}

using Indexes = std::vector<int32_t>;
using Lines = std::vector<std::string>;

constexpr ColorTriple kHighlight{200, 0, 0};
constexpr ColorTriple kBulletSelected{100, 100, 100};

// Three buttons A, B and C in a column, 100 x 20 each, 10 pixels apart, each
// with its help text; the language list exists.
class Selection : public ::testing::Test {
protected:
    void SetUp() override {
        menu = Menu{};
        ResetPlatformDouble();
        launches.clear();
        menu.mainWindow = FakeWindow(1);
        menu.languageBox = FakeWindow(2);
        menu.buttonCount = 3;
        for (int i = 0; i < 3; ++i) {
            menu.buttons[i].rect = Rect{10, 10 + 30 * i, 110, 30 + 30 * i};
            const char16_t letter = static_cast<char16_t>(u'A' + i);
            menu.buttons[i].name[0] = letter;
            CopyWide(menu.buttons[i].help, (u"About " + std::u16string(1, letter)).c_str());
        }
        CopyWide(menu.defaultHelp, u"Pick one");
        menu.buttonColorHi = kHighlight;
        menu.buttonColorLo = ColorTriple{0, 0, 200};
        menu.bulletColorHi = kBulletSelected;
        menu.bulletColorLo = ColorTriple{50, 50, 50};
    }
    // What each redraw since the last call showed: the buttons, "selected"
    // in the highlight colour, "pressed" with a sunken bullet (dark at the
    // top left), then the help text.
    static Lines Redrawn() {
        Lines shown;
        std::string buttons;
        bool bulletStarted = false;
        bool sunken = false;
        for (const Call& call : TakeCalls({Op::DrawLineTo, Op::DrawWideText, Op::DrawWrappedText})) {
            if (call.op == Op::DrawLineTo && !bulletStarted) {
                sunken = call.numbers.back() == BevelDark(ToColorValue(kBulletSelected));
                bulletStarted = true;
            } else if (call.op == Op::DrawWideText) {
                const bool highlighted = call.numbers.back() == ToColorValue(kHighlight);
                buttons += call.texts[0] + (sunken ? " pressed" : highlighted ? " selected" : "") + ", ";
                bulletStarted = false;
            } else if (call.op == Op::DrawWrappedText) {
                shown.push_back(buttons + "help " + call.texts[0]);
                buttons.clear();
            }
        }
        return shown;
    }
    void State(int32_t selected, int32_t armed, bool pressed) {
        EXPECT_EQ(menu.selectedIndex, selected);
        EXPECT_EQ(menu.armedIndex, armed);
        EXPECT_EQ(menu.isPressed, pressed);
    }
    // A point inside button i, moved by `offset`.
    static Point In(int i, int offset = 0) { return Point{50 + offset, 20 + 30 * i}; }
    static constexpr Point kEmpty{200, 200};
};

TEST_F(Selection, HoverHighlightsAndMovingWithinAButtonRedrawsNothing) {
    OnPointerMove(In(1).x, In(1).y);
    State(1, -1, false);
    EXPECT_EQ(Redrawn(), (Lines{"A, B selected, C, help About B"}));
    EXPECT_CALLS({{Op::SetKeyboardFocus, {}, {}, menu.mainWindow}}, {Op::SetKeyboardFocus});
    OnPointerMove(In(1, 5).x, In(1, 5).y);
    EXPECT_EQ(Redrawn(), Lines{});
    TakeCalls();
    // The same position again changes nothing at all.
    OnPointerMove(In(1, 5).x, In(1, 5).y);
    EXPECT_CALLS({});
    // Empty parts of the window redraw at every new position.
    OnPointerMove(kEmpty.x, kEmpty.y);
    OnPointerMove(kEmpty.x + 1, kEmpty.y);
    State(-1, -1, false);
    EXPECT_EQ(Redrawn(), (Lines{"A, B, C, help Pick one", "A, B, C, help Pick one"}));
}

TEST_F(Selection, TheRightAndBottomEdgesAreOutside) {
    OnPointerMove(109, 29);
    EXPECT_EQ(menu.selectedIndex, 0);
    OnPointerMove(110, 29);
    EXPECT_EQ(menu.selectedIndex, -1);
    OnPointerMove(10, 10);
    EXPECT_EQ(menu.selectedIndex, 0);
    OnPointerMove(10, 30);
    EXPECT_EQ(menu.selectedIndex, -1);
}

// Every button passed on the way is drawn highlighted.
TEST_F(Selection, OverlappingButtonsSelectTheLastOne) {
    menu.buttons[2].rect = menu.buttons[0].rect;
    OnPointerMove(In(0).x, In(0).y);
    EXPECT_EQ(menu.selectedIndex, 2);
    EXPECT_EQ(Redrawn(), (Lines{"A selected, B, C, help About A", "A, B, C selected, help About C"}));
}

TEST_F(Selection, AClickOnAButtonLaunchesIt) {
    OnPointerMove(In(1).x, In(1).y);
    OnPointerPress();
    State(1, 1, true);
    OnPointerRelease(In(1).x, In(1).y, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{1});
    State(1, -1, false);
}

// A launch can run a nested message loop (the "Could not launch" box): a
// click's button is still armed there, an Enter press's is not.
TEST_F(Selection, AClickDisarmsAfterItsLaunchAndEnterBefore) {
    OnPointerMove(In(1).x, In(1).y);
    OnPointerPress();
    OnPointerRelease(In(1).x, In(1).y, RecordLaunch);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].armed, 1);
    EXPECT_FALSE(launches[0].pressed);

    launches.clear();
    OnKeyPress(key::kReturn);
    OnKeyRelease(key::kReturn, RecordLaunch);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].armed, -1);
    EXPECT_FALSE(launches[0].pressed);
}

TEST_F(Selection, DraggingToAnotherButtonLaunchesNothingAndHighlightsNothing) {
    OnPointerMove(In(1).x, In(1).y);
    OnPointerPress();
    OnPointerMove(In(2).x, In(2).y);
    State(-1, 1, true);
    OnPointerRelease(In(2).x, In(2).y, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{});
    State(-1, -1, false);
}

TEST_F(Selection, APressOutsideHighlightsNothingWhileDragging) {
    OnPointerMove(kEmpty.x, kEmpty.y);
    OnPointerPress();
    EXPECT_EQ(Redrawn(), (Lines{"A, B, C, help Pick one"})) << "the move alone";
    OnPointerMove(In(0).x, In(0).y);
    State(-1, -1, true);
    EXPECT_EQ(Redrawn(), Lines{});
    OnPointerRelease(In(0).x, In(0).y, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{});
    EXPECT_EQ(Redrawn(), Lines{});
    State(-1, -1, false);
    // The release updated nothing: the next move over the button highlights it.
    OnPointerMove(In(0, 1).x, In(0, 1).y);
    EXPECT_EQ(menu.selectedIndex, 0);
}

TEST_F(Selection, DraggingOffAndBackLaunchesOnce) {
    OnPointerMove(In(1).x, In(1).y);
    OnPointerPress();
    OnPointerMove(kEmpty.x, kEmpty.y);
    State(-1, 1, true);
    OnPointerMove(In(1, 3).x, In(1, 3).y);
    State(1, 1, true);
    OnPointerRelease(In(1, 3).x, In(1, 3).y, RecordLaunch);
    OnPointerRelease(In(1, 3).x, In(1, 3).y, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{1}) << "a second release finds nothing armed";
}

TEST_F(Selection, ReleasingOffTheArmedButtonDisarms) {
    OnPointerMove(In(0).x, In(0).y);
    OnPointerPress();
    EXPECT_EQ(Redrawn(), (Lines{"A selected, B, C, help About A", "A pressed, B, C, help About A"}));
    OnPointerRelease(kEmpty.x, kEmpty.y, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{});
    EXPECT_EQ(Redrawn(), (Lines{"A selected, B, C, help About A"})) << "up again, still highlighted";
    State(0, -1, false);
}

TEST_F(Selection, TabCyclesThroughTheListWhenSeveralLanguagesAreOffered) {
    menu.languageCount = 2;
    const int32_t forward[] = {0, 1, 2, -1, 0};
    for (int32_t expected : forward) {
        OnKeyPress(key::kTab);
        EXPECT_EQ(menu.selectedIndex, expected);
    }
    EXPECT_EQ(Redrawn(), (Lines{"A selected, B, C, help About A", "A, B selected, C, help About B",
                                "A, B, C selected, help About C", "A, B, C, help Pick one",
                                "A selected, B, C, help About A"}));
    EXPECT_CALLS({{Op::SetKeyboardFocus, {}, {}, menu.languageBox}}, {Op::SetKeyboardFocus});
    fake.shiftHeld = true;
    OnKeyPress(key::kTab);  // Shift+Tab on the first button
    EXPECT_EQ(menu.selectedIndex, -1);
    EXPECT_CALLS({{Op::SetKeyboardFocus, {}, {}, menu.languageBox}}, {Op::SetKeyboardFocus});
    OnKeyPress(key::kTab);
    EXPECT_EQ(menu.selectedIndex, 2);
}

TEST_F(Selection, TabCyclesThroughTheButtonsWithOneLanguage) {
    menu.languageCount = 1;
    const int32_t forward[] = {0, 1, 2, 0};
    for (int32_t expected : forward) {
        OnKeyPress(key::kDown);
        EXPECT_EQ(menu.selectedIndex, expected);
    }
    menu.selectedIndex = 0;
    OnKeyPress(key::kUp);
    EXPECT_EQ(menu.selectedIndex, 2);
    EXPECT_CALLS({}, {Op::SetKeyboardFocus});  // the list never gets the focus
}

TEST_F(Selection, LeftAndUpMoveBackwardWithOrWithoutShiftRightAndDownForwardWithout) {
    const struct {
        uint32_t key;
        bool shift;
        int32_t from;
        int32_t to;
    } rows[] = {
        {key::kLeft, false, 1, 0}, {key::kLeft, true, 1, 0},   {key::kUp, false, 1, 0},
        {key::kUp, true, 1, 0},    {key::kRight, false, 1, 2}, {key::kRight, true, 1, 0},
        {key::kDown, false, 1, 2}, {key::kDown, true, 1, 0},   {key::kTab, false, -1, 0},
        {key::kLeft, false, -1, 2},
    };
    for (const auto& row : rows) {
        menu.selectedIndex = row.from;
        fake.shiftHeld = row.shift;
        OnKeyPress(row.key);
        EXPECT_EQ(menu.selectedIndex, row.to) << "key " << row.key << " shift " << row.shift;
    }
}

TEST_F(Selection, EnterArmsOnPressAndLaunchesTheSelectedButtonOnRelease) {
    OnKeyPress(key::kReturn);
    OnKeyPress(key::kReturn);
    State(-1, -1, false);
    OnKeyRelease(key::kReturn, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{});
    EXPECT_EQ(Redrawn(), Lines{});

    menu.selectedIndex = 2;
    OnKeyPress(key::kReturn);
    State(2, 2, true);
    EXPECT_EQ(Redrawn(), (Lines{"A, B, C pressed, help About C"}));
    OnKeyRelease(key::kSpace, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{});
    OnKeyRelease(key::kReturn, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{2});
    State(2, -1, false);
    EXPECT_EQ(Redrawn(), (Lines{"A, B, C selected, help About C"}));
    // A release alone launches the selected button.
    OnKeyRelease(key::kReturn, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{2});
}

TEST_F(Selection, EscapeRequestsTheEnd) {
    OnKeyPress(key::kEscape);
    EXPECT_CALLS({{Op::PostQuitRequest}}, {Op::PostQuitRequest});
}

TEST_F(Selection, LosingTheFocusOutsideClearsTheSelection) {
    OnPointerMove(In(1).x, In(1).y);
    OnPointerPress();
    Redrawn();
    OnFocusLost(true);
    State(1, 1, true);
    EXPECT_TRUE(menu.isActive) << "the list is part of the menu";
    EXPECT_EQ(Redrawn(), Lines{});
    OnFocusLost(false);
    State(-1, -1, true);
    EXPECT_FALSE(menu.isActive);
    EXPECT_EQ(Redrawn(), (Lines{"A, B, C, help Pick one"}));
    OnFocusGained();
    EXPECT_TRUE(menu.isActive);
    State(-1, -1, true);
}

TEST_F(Selection, AnInactiveMenuIgnoresPointerAndKeys) {
    OnPointerMove(In(0).x, In(0).y);
    OnFocusLost(false);
    TakeCalls();
    OnPointerMove(In(1).x, In(1).y);
    OnPointerPress();
    OnPointerRelease(In(1).x, In(1).y, RecordLaunch);
    OnKeyPress(key::kTab);
    OnKeyPress(key::kEscape);
    menu.selectedIndex = 1;
    OnKeyRelease(key::kReturn, RecordLaunch);
    EXPECT_EQ(Launched(), Indexes{});
    State(1, -1, false);
    EXPECT_EQ(menu.lastMousePos.x, In(0).x) << "the last handled position stays";
    EXPECT_CALLS({});  // nothing drawn, no end requested: nothing asked of the platform at all
}

TEST(CloseRequest, ClosesAtOnceUnlessTheTicksWrappedBackwards) {
    EXPECT_EQ(CloseWaitRemaining(1000, 1000), 0);
    EXPECT_EQ(CloseWaitRemaining(5, 0xFFFFFFF0u), 0) << "the tick count wrapped";
    EXPECT_EQ(CloseWaitRemaining(0, 0x80000000u), INT32_MAX) << "an elapsed time that reads negative waits";
    EXPECT_EQ(CloseWaitRemaining(0, 10), 10);
}

TEST(PointerPosition, HalvesAreSigned16BitNumbers) {
    EXPECT_EQ(PointerPosition(0x00140032).x, 0x32);
    EXPECT_EQ(PointerPosition(0x00140032).y, 0x14);
    EXPECT_EQ(PointerPosition(static_cast<intptr_t>(0xFFFEFFFFu)).x, -1);
    EXPECT_EQ(PointerPosition(static_cast<intptr_t>(0xFFFEFFFFu)).y, -2);
}

}  // namespace

namespace {

Call Event(uint32_t event, int32_t child) {
    return Call{Op::RaiseAccessibleEvent, {}, {event, child}};
}
const std::vector<Op> kEvents = {Op::RaiseAccessibleEvent};

TEST_F(Selection, KeysTellAssistiveToolsOfEachButtonTheyHighlight) {
    menu.languageCount = 2;
    OnKeyPress(key::kTab);
    OnKeyPress(key::kDown);
    EXPECT_CALLS({Event(accessible::kEventFocus, 1), Event(accessible::kEventFocus, 2)}, kEvents);
    OnKeyPress(key::kDown);
    OnKeyPress(key::kDown);  // to the list: no button focused
    EXPECT_CALLS({Event(accessible::kEventFocus, 3)}, kEvents);
}

TEST_F(Selection, ThePointerTellsWhichButtonsBecomeAndStopBeingHot) {
    OnPointerMove(In(0).x, In(0).y);
    EXPECT_CALLS({Event(accessible::kEventStateChange, 1)}, kEvents);
    OnPointerMove(In(0, 3).x, In(0, 3).y);
    EXPECT_CALLS({}, kEvents);  // moving within the button changes nothing
    OnPointerMove(In(2).x, In(2).y);
    EXPECT_CALLS({Event(accessible::kEventStateChange, 1), Event(accessible::kEventStateChange, 3)}, kEvents);
    OnPointerMove(kEmpty.x, kEmpty.y);
    EXPECT_CALLS({Event(accessible::kEventStateChange, 3)}, kEvents);
}

TEST_F(Selection, ThePointerLeavingTheWindowLeavesNoButtonHotAndTheHighlightWhereItIs) {
    OnPointerMove(In(1).x, In(1).y);
    OnPointerMove(In(1, 3).x, In(1, 3).y);
    EXPECT_CALLS({{Op::TrackPointerLeave, {}, {}, menu.mainWindow}}, {Op::TrackPointerLeave});  // once on entering
    TakeCalls();
    OnPointerLeave();
    EXPECT_CALLS({Event(accessible::kEventStateChange, 2)});  // and nothing redrawn
    EXPECT_EQ(HotButton(), -1);
    State(1, -1, false);
    OnPointerLeave();
    EXPECT_CALLS({});  // nothing was hot
    // Back at the point it left, asking again on entering again.
    OnPointerMove(In(1, 3).x, In(1, 3).y);
    EXPECT_CALLS({{Op::TrackPointerLeave}, Event(accessible::kEventStateChange, 2)},
                 {Op::TrackPointerLeave, Op::RaiseAccessibleEvent});
}

// A position already handled changes no selection, whether the pointer
// comes back into the window there or first shows at the initial 0,0; it
// still becomes hot where a button is.
TEST_F(Selection, APointerAtTheLastHandledPositionChangesNoSelection) {
    OnPointerMove(In(1).x, In(1).y);
    OnPointerLeave();
    OnKeyPress(key::kDown);
    TakeCalls();
    OnPointerMove(In(1).x, In(1).y);
    State(2, -1, false);
    EXPECT_CALLS({Event(accessible::kEventStateChange, 2)}, kEvents);

    menu = Menu{};
    menu.mainWindow = FakeWindow(1);
    menu.buttonCount = 1;
    menu.buttons[0].rect = Rect{0, 0, 100, 20};
    TakeCalls();
    OnPointerMove(0, 0);
    State(-1, -1, false);
    EXPECT_CALLS({{Op::TrackPointerLeave}, Event(accessible::kEventStateChange, 1)},
                 {Op::TrackPointerLeave, Op::RaiseAccessibleEvent});
}

}  // namespace
