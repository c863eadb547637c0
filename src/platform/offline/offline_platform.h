#pragma once
// A platform layer for tools that run the menu's logic where no menu runs:
// every answer the logic asks of the system (work area, display colours,
// user language, installed locales, fonts) comes from settings that the tool
// chooses; windows and drawing do nothing; message boxes are kept for the
// tool to report. Files and text conversion stay the build's own.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/types.h"

namespace platform {
namespace offline {

struct Settings {
    Rect workArea{0, 0, 1024, 768};
    int32_t displayColors = -1;  // -1: more than 256 colours
    uint16_t userLanguageId = 0x0409;
    // Which primary languages (low 10 bits) have an installed locale: every
    // one, or those listed.
    bool everyLocaleInstalled = true;
    std::vector<uint16_t> installedLanguages;
};

struct ShownBox {
    std::string text;
    std::string title;
    uint32_t flags;
};

// The settings that every answer comes from; a tool changes them between runs.
Settings& CurrentSettings();

// The message boxes the logic has shown since the last ForgetShownBoxes.
const std::vector<ShownBox>& ShownBoxes();
void ForgetShownBoxes();

// The description a font was created from; false for none.
bool DescriptionOf(Font font, FontDescription* description);

}  // namespace offline
}  // namespace platform
