#include "app/run_menu.h"

#include <cstring>
#include <string>
#include <utility>

#include "app/language_list.h"
#include "app/menu_window.h"
#include "app/startup_rules.h"
#include "config/ini_reader.h"
#include "config/language_tag.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "config/saturating.h"
#include "config/wide_text.h"
#include "launch/os_classification.h"
#include "platform/bitmap.h"
#include "platform/holders.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/window.h"
#include "render/background_bitmap.h"
#include "render/fonts.h"

namespace {

constexpr int kIconResource = 110;
constexpr const char* kWindowTitle = "Tessaline";

StartupEnd Error(std::string text) {
    return StartupEnd{StartupStop::kError, std::move(text)};
}

// programFolder: the program's own path cut just after its last backslash.
bool FindProgramFolder() {
    char path[kPathCapacity] = {};
    if (!platform::OwnModulePath(path, kPathCapacity) || !CutAfterLastBackslash(path)) return false;
    std::memcpy(menu.programFolder, path, std::strlen(path) + 1);
    return true;
}

}  // namespace

StartupEnd RunMenu(bool unattended) {
    menu.unattended = unattended;
    if (!FindProgramFolder()) return {};

    // A folder so deep that install.ini's path does not fit could not be
    // opened by the system either; say so with the whole path rather than
    // reading a cut one.
    const std::string iniPath = std::string(menu.programFolder) + "install.ini";
    if (iniPath.size() >= kPathCapacity) throw IniLoadFailure("Error opening file:  " + iniPath);
    std::memcpy(menu.iniPath, iniPath.c_str(), iniPath.size() + 1);

    char16_t languageTag[kLanguageTagCapacity];
    UserLanguageTag(platform::UserDefaultLanguageId(), languageTag, kLanguageTagCapacity);
    char16_t askedTag[kLanguageTagCapacity];
    CopyWide(askedTag, languageTag);

    ClassifyOperatingSystem();

    if (!iniReader.Load(menu.iniPath)) return {};

    const BitmapNames names = ReadBitmapNames(iniReader);
    char narrow256[kNarrowCapacity];
    char narrow016[kNarrowCapacity];
    ToNarrow(narrow256, names.name256);
    ToNarrow(narrow016, names.name016);

    // Held from the colour test to the end of start-up.
    const platform::OwnedDisplayInfo display(platform::CreateDisplayInfo());
    const int32_t colors = display.Get() != nullptr ? platform::DisplayColorCount(display.Get()) : -1;
    const char16_t* taken = ChooseBitmapName(names, colors);
    if (taken == nullptr) return Error("Neither BitmapFile256 nor BitmapFile016 were found in the ini file.");
    const char* takenName = taken == names.name256 ? narrow256 : narrow016;

    char16_t appSize[kIniValueCapacity];
    iniReader.GetString(u"General", u"AppSize", u"0,0", appSize);
    menu.scale = ComputeScale(menu.scale, platform::WorkArea(), appSize);

    menu.backgroundBitmap = LoadBackgroundBitmap(takenName, menu.scale, menu.scale);
    if (menu.backgroundBitmap == nullptr) return Error(std::string("Couldn't read bit map file ") + takenName);

    const uint32_t windowStyle = unattended ? style::kUnattended : style::kPopup;
    const uint32_t extendedStyle = style::kExtended;

    if (!platform::BitmapSize(menu.backgroundBitmap, &menu.bitmapSize)) return {};

    const int32_t loaded = LoadMenuConfiguration(languageTag);
    MakeRequestedFonts();
    if (loaded != 0) return Error(std::string("Couldn't read ini file at ") + menu.iniPath);

    const Rect placed = menu.windowRect;
    platform::GrowByFrame(&menu.windowRect, windowStyle, extendedStyle);
    const int32_t width = RectWidth(menu.windowRect);
    const int32_t height = RectHeight(menu.windowRect);

    if (!platform::RegisterWindowClass(kMenuWindowClass, MenuWindowProc, kIconResource)) return {};

    if (!SelectStartLanguage(askedTag, placed)) return {};

    // The creation message reaches the window procedure inside this call; in
    // the unattended mode every button runs there.
    menu.mainWindow = platform::CreateTopLevelWindow(extendedStyle, kMenuWindowClass, kWindowTitle, windowStyle,
                                                     menu.windowRect.left, menu.windowRect.top, width, height);
    // Without a window no quit request would ever come: the loop would wait
    // for ever in a process nobody sees, and a second start could not find it.
    if (menu.mainWindow == nullptr) return StartupEnd{StartupStop::kNoWindow, {}};
    platform::ShowTopLevelWindow(menu.mainWindow, unattended ? show::kMinimize : show::kShow);
    platform::PaintNow(menu.mainWindow);

    while (platform::DispatchNextMessage()) {
    }

    // Fails, harmlessly, while the window still exists.
    platform::UnregisterWindowClass(kMenuWindowClass);
    return {};
}
