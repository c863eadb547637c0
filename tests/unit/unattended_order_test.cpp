#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "launch/launch_conditions.h"
#include "launch/unattended.h"

namespace {

struct ButtonTexts {
    const char16_t* preRun;
    const char16_t* preArgs;
    const char16_t* preCond;
    const char16_t* path;  // the silent path, as the loader stores it in this mode
    const char16_t* args;
};

class UnattendedOrder : public ::testing::Test {
protected:
    void SetUp() override {
        menu = Menu{};
        menu.unattended = true;
        menu.osKind = kOsProfessional;
        menu.osVersion = 501;
    }
    void TearDown() override { menu = Menu{}; }

    void UseButtons(const std::vector<ButtonTexts>& buttons) {
        menu.buttonCount = static_cast<int32_t>(buttons.size());
        for (size_t i = 0; i < buttons.size(); ++i) {
            Button& b = menu.buttons[i];
            CopyWide(b.preRun, buttons[i].preRun);
            CopyWide(b.preArgs, buttons[i].preArgs);
            CopyWide(b.preCond, buttons[i].preCond);
            CopyWide(b.path, buttons[i].path);
            CopyWide(b.args, buttons[i].args);
        }
    }

    // Each launch as "program|arguments".
    static std::vector<std::u16string> Launches() {
        std::vector<std::u16string> seen;
        for (const LaunchRequest& launch : UnattendedLaunches()) {
            seen.push_back(std::u16string(launch.program) + u"|" + launch.arguments);
        }
        return seen;
    }
};

TEST_F(UnattendedOrder, AllPreparatoryProgramsComeBeforeTheFirstMainProgram) {
    UseButtons({
        {u"pre1.exe", u"/p1", u"", u"main1.exe", u"/m1"},
        {u"pre2.exe", u"/p2", u"nt,500,0", u"main2.exe", u"/m2"},
    });
    EXPECT_EQ(Launches(), (std::vector<std::u16string>{u"pre1.exe|/p1", u"pre2.exe|/p2", u"main1.exe|/m1",
                                                       u"main2.exe|/m2"}));
}

TEST_F(UnattendedOrder, ABlockedPreparatoryProgramIsLeftOutAndItsMainProgramStillRuns) {
    UseButtons({
        {u"pre1.exe", u"", u"9x,0,0", u"main1.exe", u""},
        {u"pre2.exe", u"", u"all,0,0", u"main2.exe", u""},
    });
    EXPECT_EQ(Launches(), (std::vector<std::u16string>{u"pre2.exe|", u"main1.exe|", u"main2.exe|"}));
}

TEST_F(UnattendedOrder, AButtonWithoutSilentKeysStartsOnlyItsPreparatoryProgram) {
    // Such a button's Path is not read in this mode, so path and args are empty.
    UseButtons({
        {u"pre1.exe", u"", u"", u"", u""},
        {u"", u"", u"", u"main2.exe", u""},
    });
    EXPECT_EQ(Launches(), (std::vector<std::u16string>{u"pre1.exe|", u"main2.exe|"}));
}

TEST_F(UnattendedOrder, AButtonWithOnlySilentArgsLaunchesAnEmptyProgram) {
    UseButtons({
        {u"", u"", u"", u"", u"/quiet"},
        {u"", u"/only-args", u"", u"", u""},
    });
    EXPECT_EQ(Launches(), (std::vector<std::u16string>{u"|/only-args", u"|/quiet"}));
}

TEST_F(UnattendedOrder, OnlyTheValidButtonsRun) {
    UseButtons({
        {u"", u"", u"", u"main1.exe", u""},
        {u"", u"", u"", u"main2.exe", u""},
        {u"pre3.exe", u"", u"", u"main3.exe", u""},
    });
    // A shorter configuration leaves the third entry's old texts behind.
    menu.buttonCount = 2;
    EXPECT_EQ(Launches(), (std::vector<std::u16string>{u"main1.exe|", u"main2.exe|"}));
    menu.buttonCount = 0;
    EXPECT_TRUE(Launches().empty());
}

}  // namespace
