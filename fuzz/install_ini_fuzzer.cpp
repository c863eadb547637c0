// install.ini bytes, whatever they hold, through everything the menu does
// with them: the load, the start-up decisions, the configuration pass with
// its language table and fonts, the language check, painting, pointer and key
// input, a switch to every offered language, and the launch conditions and
// command lines of every button. Twice: as a normal menu on a large screen
// before its window exists, and as an unattended one on a small screen with
// its window.
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/language_list.h"
#include "app/selection.h"
#include "app/startup_rules.h"
#include "config/ini_reader.h"
#include "config/language_selection.h"
#include "config/language_tag.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "fuzz_check.h"
#include "launch/launch_command.h"
#include "launch/launch_conditions.h"
#include "launch/unattended.h"
#include "memory_file.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "render/fonts.h"
#include "render/menu_painting.h"
#include "support/platform_double.h"

namespace {

constexpr const char* kFolder = "D:\\";
constexpr const char* kIniPath = "D:\\install.ini";

struct Pass {
    bool unattended;
    bool withWindow;
    Rect workArea;
    uint16_t userLanguage;
    Size bitmapSize;
};

const Pass kPasses[] = {
    {false, false, Rect{0, 0, 1024, 738}, 0x0409, Size{640, 480}},
    {true, true, Rect{0, 0, 300, 200}, 0x0407, Size{1, 1}},
};

template <size_t N>
void CheckText(const char16_t (&text)[N]) {
    FUZZ_CHECK(std::char_traits<char16_t>::find(text, N, 0) != nullptr);
}

template <size_t N>
void CheckText(const char (&text)[N]) {
    FUZZ_CHECK(std::memchr(text, 0, N) != nullptr);
}

bool ValidSelection(int32_t index) {
    return index == -1 || (index >= 0 && index < menu.buttonCount);
}

// What must hold of the model whatever the file said.
void CheckModel() {
    FUZZ_CHECK(menu.buttonCount >= 0 && menu.buttonCount <= kMaxButtons);
    FUZZ_CHECK(menu.languageCount >= 0 && menu.languageCount <= kMaxLanguages);
    FUZZ_CHECK(menu.languageIndex >= 0 && (menu.languageIndex < menu.languageCount || menu.languageIndex == 0));
    FUZZ_CHECK(ValidSelection(menu.selectedIndex));
    FUZZ_CHECK(ValidSelection(menu.armedIndex));
    FUZZ_CHECK(menu.scale > 0.0f && menu.scale <= 1.0f);
    for (const Button& button : menu.buttons) {
        CheckText(button.name);
        CheckText(button.help);
        CheckText(button.path);
        CheckText(button.args);
        CheckText(button.preRun);
        CheckText(button.preArgs);
        CheckText(button.preCond);
    }
    CheckText(menu.defaultHelp);
    CheckText(menu.copyrightText);
    for (int k = 0; k < kMaxLanguages; ++k) {
        CheckText(menu.languageTags[k]);
        CheckText(menu.languageNames[k]);
    }
    CheckText(menu.programFolder);
    CheckText(menu.iniPath);
    // Each font field holds at most one live font; replaced ones are released.
    FUZZ_CHECK(LiveFontCount() <= 3);
    // Drawing objects and saved states live only inside one drawing operation.
    FUZZ_CHECK(OpenObjects() == 0);
    FUZZ_CHECK(Count(Op::RestoreContext) == Count(Op::SaveContext));
    // Nothing here reads the stand-in's calls: they need not pile up through a pass.
    fake.calls.clear();
}

void CheckLaunch(const char16_t* program, const char16_t* arguments) {
    LaunchCommand command;
    const uint32_t refusal = BuildLaunchCommand(menu.programFolder, program, arguments, &command);
    FUZZ_CHECK(refusal == 0 || refusal == kErrorFilenameTooLong);
    CheckText(command.program);
    CheckText(command.arguments);
    CheckText(command.fullPath);
    CheckText(command.workingFolder);
    CheckText(command.commandLine);
    if (refusal == 0) FUZZ_CHECK(std::strncmp(command.commandLine, "\"D:\\", 4) == 0);
    char message[kLaunchMessageRoom];
    FormatLaunchFailure(message, command.fullPath, refusal, "system text");
    CheckText(message);
}

void LaunchEveryButton() {
    for (int32_t i = 0; i < kMaxButtons; ++i) {
        const Button& button = menu.buttons[i];
        if (PreRunAllowed(i)) CheckLaunch(button.preRun, button.preArgs);
        CheckLaunch(button.path, button.args);
    }
    for (const LaunchRequest& launch : UnattendedLaunches()) CheckLaunch(launch.program, launch.arguments);
}

void CheckLaunchedButton(int32_t index) {
    FUZZ_CHECK(index >= 0 && index < menu.buttonCount);
}

// The pointer over every button's corners and middle, pressed and released,
// then the keys.
void UseTheMenu() {
    for (int32_t i = 0; i < menu.buttonCount; ++i) {
        const Rect r = menu.buttons[i].rect;
        const int32_t middleX = static_cast<int32_t>((int64_t{r.left} + r.right) / 2);
        const int32_t middleY = static_cast<int32_t>((int64_t{r.top} + r.bottom) / 2);
        const Point points[] = {{r.left, r.top}, {r.right, r.bottom}, {middleX, middleY}, {r.right, r.top}};
        for (const Point& p : points) {
            OnPointerMove(p.x, p.y);
            OnPointerPress();
            OnPointerRelease(p.x, p.y, CheckLaunchedButton);
            CheckModel();
        }
    }
    for (uint32_t k : {key::kTab, key::kDown, key::kReturn, key::kUp, key::kLeft, key::kTab, key::kReturn}) {
        OnKeyPress(k);
        OnKeyRelease(k, CheckLaunchedButton);
        CheckModel();
    }
    fake.shiftHeld = true;
    if (menu.languageBox != nullptr) LanguageBoxProc(menu.languageBox, msg::kKeyDown, key::kTab, 0);
    fake.shiftHeld = false;
    CheckModel();
}

void RunPass(const uint8_t* data, size_t size, const Pass& pass) {
    ResetPlatformDouble();
    menu = Menu{};
    iniReader.Clear();
    fake.workArea = pass.workArea;
    fake.userDefaultLanguageId = pass.userLanguage;
    fake.installedLocales = {"00000409", "00000407", "00000411", "0000040c"};
    std::strcpy(menu.programFolder, kFolder);
    std::strcpy(menu.iniPath, kIniPath);
    menu.unattended = pass.unattended;
    ServeFile(kIniPath, data, size);

    try {
        if (!iniReader.Load(menu.iniPath)) return;
    } catch (const IniLoadFailure&) {
        return;
    }

    // Start-up's own reading.
    const BitmapNames names = ReadBitmapNames(iniReader);
    CheckText(names.name256);
    CheckText(names.name016);
    char narrow[kNarrowCapacity];
    for (int32_t colors : {-1, 16}) {
        const char16_t* taken = ChooseBitmapName(names, colors);
        if (taken == nullptr) continue;
        ToNarrow(narrow, taken);
        CheckText(narrow);
    }
    char16_t appSize[kIniValueCapacity];
    iniReader.GetString(u"General", u"AppSize", u"0,0", appSize);
    menu.scale = ComputeScale(menu.scale, fake.workArea, appSize);
    menu.bitmapSize = pass.bitmapSize;

    char16_t tag[kLanguageTagCapacity];
    UserLanguageTag(fake.userDefaultLanguageId, tag, kLanguageTagCapacity);
    const int32_t loaded = LoadMenuConfiguration(tag);
    MakeRequestedFonts();
    FUZZ_CHECK(loaded == 0 || loaded == -1);
    CheckText(tag);
    CheckModel();
    if (loaded != 0) return;

    if (!SelectLanguage(nullptr, menu.languageIndex, true)) return;
    CheckModel();

    if (pass.withWindow) {
        menu.mainWindow = FakeWindow(1);
        if (menu.languageCount > 1) CreateLanguageBox(menu.mainWindow, nullptr);
        PaintMenuWindow(menu.mainWindow);
        CheckModel();
        UseTheMenu();
    }
    LaunchEveryButton();

    // Every offered language in turn, through the list.
    for (int32_t k = 0; k < menu.languageCount && menu.languageBox != nullptr; ++k) {
        fake.listSelection = k;
        OnLanguageChosen(menu.languageBox);
        CheckModel();
        PaintMenuWindow(menu.mainWindow);
        CheckModel();
        LaunchEveryButton();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const Pass& pass : kPasses) RunPass(data, size, pass);
    // Whatever the run allocated is released before the next one, so that
    // libFuzzer's leak check only fires on real leaks.
    iniReader.Clear();
    ResetPlatformDouble();
    return 0;
}
