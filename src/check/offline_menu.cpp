#include "check/offline_menu.h"

#include "config/ini_reader.h"
#include "config/language_selection.h"
#include "config/language_tag.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/window.h"
#include "render/resample.h"

namespace {

void Stop(StartupResult& result, const std::string& title, const std::string& text) {
    result.boxes.push_back(platform::offline::ShownBox{text, title, 0});
}

void TakeShownBoxes(StartupResult& result) {
    for (const auto& box : platform::offline::ShownBoxes()) result.boxes.push_back(box);
    platform::offline::ForgetShownBoxes();
}

// The picture as LoadBackgroundBitmap would deliver it: false, after the
// boxes the menu shows, when it delivers none.
bool LoadPicture(const DiscFolder& disc, StartupResult& result) {
    const std::filesystem::path file = disc.Find(result.bitmapName);
    if (!file.empty()) result.bitmap = ReadBitmapFacts(file);
    const std::string failure = "Couldn't read bit map file " + result.bitmapName;
    if (result.scale == 1.0f) {
        if (!result.bitmap.loadsAsIs) {
            Stop(result, "Error", failure);
            return false;
        }
        menu.bitmapSize = Size{result.bitmap.width, result.bitmap.height};
        return true;
    }
    if (!result.bitmap.readable || !CanBeResampled(result.bitmap)) {
        Stop(result, "Incorrect bitmap format", "Only 16 color and 256 color bitmaps are supported!");
        Stop(result, "Error", failure);
        return false;
    }
    if (!ResampledSize(result.bitmap.width, result.bitmap.height, result.scale, result.scale, &menu.bitmapSize)) {
        Stop(result, "Error", failure);
        return false;
    }
    return true;
}

}  // namespace

void UseSystem(const SystemChoice& choice, bool unattended) {
    platform::offline::Settings& settings = platform::offline::CurrentSettings();
    settings.workArea = Rect{0, 0, choice.screen.width, choice.screen.height};
    settings.displayColors = choice.displayColors;
    settings.userLanguageId = choice.userLanguageId;
    settings.everyLocaleInstalled = choice.everyLocaleInstalled;
    settings.installedLanguages = choice.installedLanguages;
    platform::offline::ForgetShownBoxes();

    menu = Menu{};
    menu.unattended = unattended;
    menu.osKind = choice.osKind;
    menu.osVersion = choice.osVersion;
    const std::string iniPath = choice.programFolder + "install.ini";
    if (choice.programFolder.size() < sizeof menu.programFolder && iniPath.size() < sizeof menu.iniPath) {
        choice.programFolder.copy(menu.programFolder, choice.programFolder.size());
        iniPath.copy(menu.iniPath, iniPath.size());
    }
}

bool LoadDiscIni(const DiscFolder& disc, std::string* failure) {
    try {
        return iniReader.Load((disc.Root() / "install.ini").string().c_str());
    } catch (const IniLoadFailure& loadFailure) {
        *failure = loadFailure.what();
        return false;
    }
}

float ScaleForScreen(const Size& screen, const char16_t* appSize) {
    return ComputeScale(1.0f, Rect{0, 0, screen.width, screen.height}, appSize);
}

StartupResult RunStartup(const DiscFolder& disc, const SystemChoice& choice, bool unattended) {
    StartupResult result;
    UseSystem(choice, unattended);

    char16_t languageTag[kLanguageTagCapacity];
    UserLanguageTag(platform::UserDefaultLanguageId(), languageTag, kLanguageTagCapacity);

    std::string failure;
    if (!LoadDiscIni(disc, &failure)) {
        Stop(result, "Application error", failure);
        return result;
    }

    result.names = ReadBitmapNames(iniReader);
    const char16_t* taken = ChooseBitmapName(result.names, platform::DisplayColorCount(nullptr));
    if (taken == nullptr) {
        Stop(result, "Error", "Neither BitmapFile256 nor BitmapFile016 were found in the ini file.");
        return result;
    }
    result.tookBitmapFile256 = taken == result.names.name256;
    char narrow[kNarrowCapacity];
    result.bitmapName = ToNarrow(narrow, taken);

    char16_t appSize[kIniValueCapacity];
    iniReader.GetString(u"General", u"AppSize", u"0,0", appSize);
    menu.scale = ScaleForScreen(choice.screen, appSize);
    result.scale = menu.scale;

    if (!LoadPicture(disc, result)) return result;

    if (LoadMenuConfiguration(menu.iniPath, languageTag) != 0) {
        Stop(result, "Error", std::string("Couldn't read ini file at ") + menu.iniPath);
        return result;
    }
    platform::GrowByFrame(&menu.windowRect, unattended ? style::kUnattended : style::kPopup, style::kExtended);
    const int32_t width = menu.windowRect.right - menu.windowRect.left;
    const int32_t height = menu.windowRect.bottom - menu.windowRect.top;

    // The language check loads the configuration again; the window opens at
    // the position of that load with the size of the first.
    const bool languageUsable = SelectLanguage(nullptr, menu.languageIndex, true);
    TakeShownBoxes(result);
    if (!languageUsable) return result;
    result.window = Rect{menu.windowRect.left, menu.windowRect.top, menu.windowRect.left + width,
                         menu.windowRect.top + height};
    result.runs = true;
    return result;
}
