// What a completed press of a button starts, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "launch/button_launches.h"
#include "launch/launch_conditions.h"

namespace {

class ButtonLaunchesTest : public ::testing::Test {
protected:
    void SetUp() override {
        menu = Menu{};
        menu.osKind = kOsProfessional;
        menu.osVersion = 501;
        menu.buttonCount = 1;
    }
    void TearDown() override { menu = Menu{}; }

    std::vector<std::u16string> Launches(int32_t index) {
        std::vector<std::u16string> texts;
        for (const LaunchRequest& launch : ButtonLaunches(index)) {
            texts.push_back(std::u16string(launch.program) + u"|" + launch.arguments);
        }
        return texts;
    }
};

TEST_F(ButtonLaunchesTest, ThePreparatoryProgramComesFirstWhenItsConditionAllows) {
    const struct {
        const char16_t* preRun;
        const char16_t* preCond;
        const char16_t* path;
        const char16_t* args;
        std::vector<std::u16string> expected;
    } cases[] = {
        {u"pre.exe", u"nt,500,0", u"main.exe", u"/q", {u"pre.exe|/p", u"main.exe|/q"}},
        {u"pre.exe", u"9x,0,0", u"main.exe", u"/q", {u"main.exe|/q"}},
        {u"", u"", u"main.exe", u"", {u"main.exe|"}},
        // Arguments alone are a launch: the launcher opens the program folder.
        {u"pre.exe", u"", u"", u"/q", {u"pre.exe|/p", u"|/q"}},
        // Without path and arguments a press starts nothing, not even an allowed preparation.
        {u"pre.exe", u"", u"", u"", {}},
    };
    for (const auto& c : cases) {
        Button& b = menu.buttons[0];
        CopyWide(b.preRun, c.preRun);
        CopyWide(b.preArgs, c.preRun[0] != 0 ? u"/p" : u"");
        CopyWide(b.preCond, c.preCond);
        CopyWide(b.path, c.path);
        CopyWide(b.args, c.args);
        EXPECT_EQ(Launches(0), c.expected) << std::string(c.path, c.path + WideLength(c.path));
    }
}

TEST_F(ButtonLaunchesTest, AnIndexOutsideTheTableStartsNothing) {
    CopyWide(menu.buttons[0].path, u"main.exe");
    EXPECT_TRUE(ButtonLaunches(-1).empty());
    EXPECT_TRUE(ButtonLaunches(kMaxButtons).empty());
}

}  // namespace
