#include "check/screen_findings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "check/ini_text.h"
#include "check/layout_elements.h"
#include "check/layout_findings.h"
#include "check/offline_menu.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"
#include "platform/offline/offline_platform.h"

namespace {

// Below this many pixels a font's text is too small to read.
constexpr int32_t kSmallestReadable = 8;

std::string SizeText(int32_t width, int32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The user languages that make the menu take each offered language; the
// user's own when none is offered.
std::vector<uint16_t> UserLanguages(const CheckContext& check) {
    std::vector<uint16_t> languages;
    for (int32_t n = 1; n <= std::min(check.languageCount, kMaxLanguages); ++n) {
        int32_t identifier = 0;
        if (LanguageEntry(n, &identifier)) languages.push_back(static_cast<uint16_t>(identifier & 0x3FF));
    }
    if (languages.empty()) languages.push_back(check.settings.system.userLanguageId);
    return languages;
}

void CheckWindow(CheckContext& check, const StartupResult& start, const Size& screen, const std::u16string& tag) {
    const int32_t width = start.window.right - start.window.left;
    const int32_t height = start.window.bottom - start.window.top;
    const std::string on = "on a " + SizeText(screen.width, screen.height) + " screen ";
    const int32_t appSizeLine = iniReader.KeyLine(kGeneral, u"AppSize");
    const int32_t line = LineOr(appSizeLine, LineOr(check.generalLine, 1));
    const std::vector<LayoutElement> elements = LayoutElements(width);
    const std::vector<LayoutFault> faults = LayoutFaults(elements, start.window, screen);
    bool windowOff = false;
    for (const LayoutFault& fault : faults) windowOff = windowOff || fault.kind == LayoutFaultKind::kWindowOffScreen;
    if (!windowOff) return;
    const std::string hint = appSizeLine == 0 ? "without AppSize the menu keeps its size: AppSize=" +
                                                    std::to_string(check.bitmapSize.width) + "," +
                                                    std::to_string(check.bitmapSize.height) +
                                                    " (the picture's size) lets it shrink to the screen"
                                              : "AppSize is smaller than the window, which the menu shrinks by "
                                                "AppSize alone";
    check.Warning(line,
                  on + "the window (" + SizeText(width, height) + ") opens at " + std::to_string(start.window.left) +
                      "," + std::to_string(start.window.top) + " and reaches outside the screen",
                  hint);
    for (const LayoutFault& fault : faults) {
        if (fault.kind != LayoutFaultKind::kOffScreen || elements[fault.element].part != LayoutPart::kButton) continue;
        const int32_t buttonLine = iniReader.KeyLine(ButtonSection(elements[fault.element].button + 1, tag).c_str(),
                                                     u"BtnRect");
        // The fault's text names the screen.
        const std::string message = fault.text + (fault.wholly ? ": the user cannot see or click it"
                                                               : ": part of it cannot be seen");
        if (fault.wholly) {
            check.Error(LineOr(buttonLine, line), message, hint);
        } else {
            check.Warning(LineOr(buttonLine, line), message, hint);
        }
    }
}

void CheckFont(CheckContext& check, platform::Font font, const std::string& what, int32_t line, float scale,
               const Size& screen) {
    platform::FontDescription description{};
    if (font == nullptr || !platform::offline::DescriptionOf(font, &description)) return;
    const int32_t pixels = std::abs(description.height);
    if (pixels == 0 || pixels >= kSmallestReadable) return;
    check.Warning(line,
                  "on a " + SizeText(screen.width, screen.height) + " screen (scale " + Decimal(scale) + ") the " +
                      what + " is " + std::to_string(pixels) + " pixels high: too small to read",
                  "fonts shrink with the menu; give it a height that stays at 8 pixels or more");
}

void CheckFonts(CheckContext& check, float scale, const Size& screen, const std::u16string& tag) {
    const std::u16string copyright = u"Copyright-" + tag;
    if (menu.copyrightText[0] != 0) {
        CheckFont(check, menu.copyrightFont, "copyright font",
                  LineOr(iniReader.KeyLine(copyright.c_str(), u"Font"),
                         LineOr(iniReader.SectionHeaderLine(copyright.c_str()), LineOr(check.generalLine, 1))),
                  scale, screen);
    }
    CheckFont(check, menu.buttonFont, "button font", LayoutLine(tag, u"BtnFont"), scale, screen);
    CheckFont(check, menu.helpFont, "help font", LayoutLine(tag, u"HelpFont"), scale, screen);
}

}  // namespace

void CheckScreens(CheckContext& check) {
    const std::vector<uint16_t> users = UserLanguages(check);
    for (const Size& screen : check.settings.screens) {
        for (uint16_t user : users) {
            SystemChoice choice = check.settings.system;
            choice.screen = screen;
            choice.userLanguageId = user;
            choice.everyLocaleInstalled = true;
            choice.installedLanguages.clear();
            const StartupResult start = RunStartup(check.disc, choice, false);
            if (!start.runs) continue;
            const std::u16string tag =
                menu.languageCount > 0 ? std::u16string(menu.languageTags[menu.languageIndex]) : std::u16string();
            CheckWindow(check, start, screen, tag);
            CheckFonts(check, start.scale, screen, tag);
        }
    }
}
