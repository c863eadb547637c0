// Run with the German user locale (LC_ALL=de_DE.UTF-8): the menu reads the
// German sections.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/menu_process.h"
#include "e2e/sample_configs.h"

namespace {

TEST(GermanUser, TheGermanSectionsSizeTheWindow) {
    ASSERT_EQ(GetUserDefaultLangID(), 0x0407) << "run with LC_ALL=de_DE.UTF-8";
    Disc disc;
    WriteTwoLanguageDisc(disc);
    EXPECT_EQ(OpenedClientSize(disc), (SIZE{300, 200}));
}

}  // namespace
