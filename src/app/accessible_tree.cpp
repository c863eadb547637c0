#include "app/accessible_tree.h"

#include <cstddef>
#include <string>
#include <vector>

#include "app/selection.h"
#include "config/menu_model.h"
#include "platform/drawing.h"
#include "platform/holders.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "render/menu_painting.h"

namespace {

int32_t ButtonCount() {
    return menu.buttonCount < kMaxButtons ? menu.buttonCount : kMaxButtons;
}

bool Contains(const Rect& rect, int32_t x, int32_t y) {
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

// The copyright line's extent in its own font, measured on the window.
Rect CopyrightRect() {
    const Point at = menu.copyrightPos;
    if (menu.copyrightText[0] == 0 || menu.mainWindow == nullptr) return Rect{at.x, at.y, at.x, at.y};
    const platform::OwnedWindowContext context(menu.mainWindow);
    platform::DrawingContext dc = context.Get();
    if (dc == nullptr) return Rect{at.x, at.y, at.x, at.y};
    const platform::ScopedSavedState state(dc);
    if (menu.copyrightFont != nullptr) platform::SelectFont(dc, menu.copyrightFont);
    char narrow[kNarrowCapacity];
    const Size size = platform::TextExtent(dc, ToNarrow(narrow, menu.copyrightText));
    return Rect{at.x, at.y, at.x + size.width, at.y + size.height};
}

std::vector<int32_t> TabOrder() {
    std::vector<int32_t> order;
    const int32_t count = AccessibleChildCount();
    if (menu.languageBox != nullptr) order.push_back(count);
    for (int32_t child = 1; child <= ButtonCount() + 2; ++child) order.push_back(child);
    return order;
}

}  // namespace

int32_t AccessibleChildCount() {
    return ButtonCount() + 2 + (menu.languageBox != nullptr ? 1 : 0);
}

AccessibleKind AccessibleKindOf(int32_t child) {
    const int32_t n = ButtonCount();
    if (child == accessible::kSelf) return AccessibleKind::Self;
    if (child >= 1 && child <= n) return AccessibleKind::Button;
    if (child == n + 1) return AccessibleKind::HelpArea;
    if (child == n + 2) return AccessibleKind::Copyright;
    if (child == n + 3 && menu.languageBox != nullptr) return AccessibleKind::LanguageList;
    return AccessibleKind::None;
}

int32_t AccessibleButtonIndex(int32_t child) {
    return AccessibleKindOf(child) == AccessibleKind::Button ? child - 1 : -1;
}

uint32_t AccessibleRole(int32_t child) {
    switch (AccessibleKindOf(child)) {
        case AccessibleKind::Self:
            return accessible::kRoleClient;
        case AccessibleKind::Button:
            return accessible::kRolePushButton;
        case AccessibleKind::HelpArea:
        case AccessibleKind::Copyright:
            return accessible::kRoleStaticText;
        default:
            return 0;
    }
}

uint32_t AccessibleState(int32_t child) {
    const int32_t index = AccessibleButtonIndex(child);
    if (index == -1) return 0;
    uint32_t state = accessible::kStateFocusable;
    if (index == menu.selectedIndex) state |= accessible::kStateFocused;
    if (index == HotButton()) state |= accessible::kStateHotTracked;
    return state;
}

const char16_t* AccessibleName(int32_t child) {
    switch (AccessibleKindOf(child)) {
        case AccessibleKind::Button:
            return menu.buttons[child - 1].name;
        case AccessibleKind::HelpArea:
            return ShownHelpText();
        case AccessibleKind::Copyright:
            return menu.copyrightText;
        default:
            return nullptr;
    }
}

const char16_t* AccessibleDescription(int32_t child) {
    const int32_t index = AccessibleButtonIndex(child);
    return index == -1 ? nullptr : menu.buttons[index].help;
}

bool AccessibleLocation(int32_t child, Rect* rect) {
    switch (AccessibleKindOf(child)) {
        case AccessibleKind::Button:
            *rect = menu.buttons[child - 1].rect;
            return true;
        case AccessibleKind::HelpArea:
            *rect = menu.helpRect;
            return true;
        case AccessibleKind::Copyright:
            *rect = CopyrightRect();
            return true;
        default:
            return false;
    }
}

std::vector<std::u16string> AccessibleNames() {
    std::vector<std::u16string> names;
    for (int32_t child = 1; child <= ButtonCount() + 2; ++child) names.emplace_back(AccessibleName(child));
    return names;
}

int32_t AccessibleHitTest(int32_t x, int32_t y) {
    const int32_t button = ButtonUnder(x, y, menu.selectedIndex);
    if (button != -1) return button + 1;
    if (Contains(menu.helpRect, x, y)) return ButtonCount() + 1;
    if (Contains(CopyrightRect(), x, y)) return ButtonCount() + 2;
    return accessible::kSelf;
}

int32_t AccessibleFocus(KeyboardFocus focus) {
    if (menu.selectedIndex >= 0 && menu.selectedIndex < ButtonCount()) return menu.selectedIndex + 1;
    if (focus == KeyboardFocus::List && menu.languageBox != nullptr) return AccessibleChildCount();
    if (focus == KeyboardFocus::Menu) return accessible::kSelf;
    return -1;
}

int32_t AccessibleNavigate(int32_t from, bool forward) {
    const std::vector<int32_t> order = TabOrder();
    if (from == accessible::kSelf) return forward ? order.front() : order.back();
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k] != from) continue;
        if (forward) return k + 1 < order.size() ? order[k + 1] : -1;
        return k > 0 ? order[k - 1] : -1;
    }
    return -1;
}
