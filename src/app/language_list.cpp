#include "app/language_list.h"

#include "app/selection.h"
#include "config/language_selection.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "config/saturating.h"
#include "config/wide_text.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "platform/window.h"
#include "render/fonts.h"

namespace {

void FillList(platform::Window list) {
    char narrow[kNarrowCapacity];
    for (int32_t k = 0; k < menu.languageCount; ++k) platform::ListAdd(list, ToNarrow(narrow, menu.languageNames[k]));
}

// What the menu window's frame adds to its client rectangle; none before
// the window exists.
Rect WindowFrame() {
    Rect frame{0, 0, 0, 0};
    if (menu.mainWindow == nullptr) return frame;
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    platform::WindowStyles(menu.mainWindow, &style, &extendedStyle);
    platform::GrowByFrame(&frame, style, extendedStyle);
    return frame;
}

// The model in language `tag`, and what shows it: the fonts, the list's
// entries and, once the window exists, its title and a repaint.
void ShowLanguage(char16_t (&tag)[kLanguageTagCapacity]) {
    // ButtonCount is General's: start-up has already refused a count that
    // makes the loader fail, in every language.
    static_cast<void>(LoadMenuConfiguration(tag, WindowFrame()));
    MakeRequestedFonts();
    // Before the window exists (at start-up) there is no list to refill.
    if (menu.languageBox != nullptr) {
        platform::ListReset(menu.languageBox);
        FillList(menu.languageBox);
    }
    if (menu.mainWindow == nullptr) return;
    if (menu.title[0] != 0) {
        char narrow[kNarrowCapacity];
        platform::SetWindowTitle(menu.mainWindow, ToNarrow(narrow, menu.title));
    }
    platform::RequestRepaint(menu.mainWindow);
}

// False, after telling the user in a box owned by `owner`, when the offered
// language `index` cannot be used here.
bool IsUsable(platform::Window owner, int32_t index, bool fatal) {
    if (IsLanguageInstalled(ReadIdentifier(menu.languageTags[index]))) return true;
    const UnsupportedLanguageText message = ReadUnsupportedLanguageText(fatal);
    char narrowText[kNarrowCapacity];
    char narrowCaption[kNarrowCapacity];
    platform::ShowMessageBox(owner, ToNarrow(narrowText, message.text), ToNarrow(narrowCaption, message.caption),
                             box::kIconWarning);
    if (menu.languageBox != nullptr) platform::SetKeyboardFocus(menu.languageBox);
    return false;
}

}  // namespace

bool SelectLanguage(platform::Window owner, int32_t index, bool fatal) {
    // Without offered languages the configuration read with the empty tag stands.
    if (menu.languageCount == 0) return true;
    if (index < 0 || index >= menu.languageCount) return false;
    if (!IsUsable(owner, index, fatal)) return false;

    char16_t tag[kLanguageTagCapacity];
    CopyWide(tag, menu.languageTags[index]);
    ShowLanguage(tag);
    menu.languageIndex = index;
    platform::ListSelect(menu.languageBox, index);
    return true;
}

// A pass asked for the default language's own tag has read that language's
// sections, its list section among them: a second pass would read the same,
// and only place the window again, without a frame since none exists yet.
// Asked for another tag, the pass read another list section, and perhaps
// took the first offered language in place of the one asked for.
bool SelectStartLanguage(const char16_t* askedTag, const Rect& placed) {
    if (menu.languageCount > 0 && EqualsFoldingAZ(askedTag, menu.languageTags[menu.languageIndex])) {
        if (!IsUsable(nullptr, menu.languageIndex, true)) return false;
        menu.windowRect = placed;
        return true;
    }
    return SelectLanguage(nullptr, menu.languageIndex, true);
}

void CreateLanguageBox(platform::Window parent, platform::Instance instance) {
    const Rect& r = menu.languageBoxRect;
    menu.languageBox = platform::CreateChildWindow("combobox", "language", style::kLanguageList, r.left, r.top,
                                                   RectWidth(r), RectHeight(r), parent, instance);
    if (menu.languageBox == nullptr) return;
    menu.languageBoxOldProc = platform::ReplaceWindowProcedure(menu.languageBox, LanguageBoxProc);
    FillList(menu.languageBox);
    platform::ListSelect(menu.languageBox, menu.languageIndex);
}

void OnLanguageChosen(platform::Window box) {
    const int32_t index = platform::ListSelection(box);
    if (!SelectLanguage(box, index, false)) platform::ListSelect(box, menu.languageIndex);
}

intptr_t LanguageBoxProc(platform::Window window, uint32_t message, uintptr_t first, intptr_t second) {
    // Nothing may unwind through the window system.
    try {
        if (message == msg::kKeyDown && first == key::kTab) {
            MoveSelection(!platform::IsShiftHeld(), true);
        } else if (message == msg::kKeyDown && first == key::kEscape) {
            platform::PostQuitRequest();
        }
    } catch (...) {
    }
    return platform::CallNativeProcedure(menu.languageBoxOldProc, window, message, first, second);
}
