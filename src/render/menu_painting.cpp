#include "render/menu_painting.h"

#include <algorithm>
#include <cstring>

#include "config/menu_model.h"
#include "config/saturating.h"
#include "config/wide_text.h"
#include "platform/bitmap.h"
#include "platform/drawing.h"
#include "platform/holders.h"
#include "platform/text.h"

namespace {

// The given context, or else the window's own, released on the way out.
class Target {
public:
    explicit Target(platform::DrawingContext given) : context(given) {
        if (context == nullptr && menu.mainWindow != nullptr) {
            own = platform::OwnedWindowContext(menu.mainWindow);
            context = own.Get();
        }
    }
    platform::DrawingContext Get() const { return context; }

private:
    platform::OwnedWindowContext own;
    platform::DrawingContext context;
};

platform::OwnedBrush SolidBrush(const ColorTriple& color) {
    return platform::OwnedBrush(platform::MakeBrush(ToColorValue(color)));
}

uint32_t Channel(uint32_t color, int shift) {
    return (color >> shift) & 0xFFu;
}

uint32_t FromChannels(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

}  // namespace

uint32_t BevelLight(uint32_t color) {
    auto light = [](uint32_t c) { return c * 3 / 2 < 255 ? c * 3 / 2 : 255u; };
    return FromChannels(light(Channel(color, 0)), light(Channel(color, 8)), light(Channel(color, 16)));
}

uint32_t BevelDark(uint32_t color) {
    return FromChannels(Channel(color, 0) * 2 / 5, Channel(color, 8) * 2 / 5, Channel(color, 16) * 2 / 5);
}

Size ButtonPictureSize() {
    Size size{0, 0};
    for (int32_t i = 0; i < menu.buttonCount && i < kMaxButtons; ++i) {
        const Rect& r = menu.buttons[i].rect;
        size.width = std::max(size.width, Saturate(int64_t{r.right} - r.left + 1));
        size.height = std::max(size.height, Saturate(int64_t{r.bottom} - r.top + 1));
    }
    return size;
}

void DrawBevel(platform::DrawingContext given, const Rect& rect, uint32_t color, bool sunken) {
    const Target target(given);
    platform::DrawingContext dc = target.Get();
    if (dc == nullptr) return;
    const platform::OwnedPen light(platform::MakePen(BevelLight(color)));
    const platform::OwnedPen dark(platform::MakePen(BevelDark(color)));
    // Both pens or nothing: a failed selection of a missing pen loses the pen
    // to put back, and the other pen would then stay selected, and so alive,
    // after its release.
    if (light.Get() == nullptr || dark.Get() == nullptr) return;
    platform::Pen first = sunken ? dark.Get() : light.Get();
    platform::Pen second = sunken ? light.Get() : dark.Get();

    const int32_t lastColumn = SaturatingAdd(rect.right, -1);
    const int32_t lastRow = SaturatingAdd(rect.bottom, -1);
    // Declared after the pens: the context's own pen is back before they go.
    platform::ScopedPenSelection selection(dc, first);
    platform::MoveTo(dc, rect.left, lastRow);
    platform::DrawLineTo(dc, rect.left, rect.top);
    platform::DrawLineTo(dc, lastColumn, rect.top);
    selection.Select(second);
    platform::DrawLineTo(dc, lastColumn, lastRow);
    platform::DrawLineTo(dc, SaturatingAdd(rect.left, -1), lastRow);
}

void PaintButtonPane(platform::DrawingContext target) {
    if (menu.buttonPaneRect.left == menu.buttonPaneRect.right) return;
    {
        const platform::OwnedBrush pane = SolidBrush(menu.buttonPaneColor);
        platform::FillRectangle(target, menu.buttonPaneRect, pane.Get());
    }
    if (menu.buttonPane3D) DrawBevel(target, menu.buttonPaneRect, ToColorValue(menu.buttonPaneColor), false);
}

void DrawButtons(platform::DrawingContext given) {
    const Target target(given);
    platform::DrawingContext dc = target.Get();
    if (dc == nullptr) return;
    const Size pictureSize = ButtonPictureSize();
    if (pictureSize.width <= 0 || pictureSize.height <= 0) return;

    const platform::OwnedMemoryContext memory(platform::CreateMemoryContext(dc));
    const platform::OwnedBrush background = SolidBrush(menu.buttonColorBk);
    const platform::OwnedBrush bulletSelected = SolidBrush(menu.bulletColorHi);
    const platform::OwnedBrush bulletOther = SolidBrush(menu.bulletColorLo);
    const platform::OwnedBitmap picture(
        platform::CreateOffscreenBitmap(pictureSize.width, pictureSize.height, platform::BitsPerPixel(dc)));
    platform::DrawingContext mem = memory.Get();
    if (mem == nullptr || picture.Get() == nullptr) return;
    // Declared after the picture: restoring the memory context's state takes
    // the picture out of it before the picture is released.
    const platform::ScopedSavedState targetState(dc);
    const platform::ScopedSavedState memoryState(mem);
    platform::SetTransparentBackground(mem);
    platform::AlignTextTopLeft(mem);
    platform::SelectBitmap(mem, picture.Get());
    if (menu.buttonFont != nullptr) platform::SelectFont(mem, menu.buttonFont);
    const int32_t h = platform::TextExtent(mem, "Test").height;

    for (int32_t i = 0; i < menu.buttonCount && i < kMaxButtons; ++i) {
        const Button& button = menu.buttons[i];
        const int32_t w = RectWidth(button.rect);
        const int32_t t = RectHeight(button.rect);
        // A button without area has nothing to show.
        if (w <= 0 || t <= 0) continue;
        const bool selected = i == menu.selectedIndex;
        platform::FillRectangle(mem, Rect{0, 0, w, t}, background.Get());
        const Rect bullet{0, 1, h, t - 1};
        platform::FillRectangle(mem, bullet, selected ? bulletSelected.Get() : bulletOther.Get());
        DrawBevel(mem, bullet, ToColorValue(selected ? menu.bulletColorHi : menu.bulletColorLo),
                  selected && menu.isPressed);
        platform::SetTextColor(mem, ToColorValue(selected ? menu.buttonColorHi : menu.buttonColorLo));
        platform::DrawWideText(mem, Saturate(int64_t{2} * h), 0, button.name);
        platform::CopyBlock(dc, button.rect.left, button.rect.top, w, t, mem, 0, 0);
    }
}

const char16_t* ShownHelpText() {
    const bool buttonHelp = menu.selectedIndex >= 0 && menu.selectedIndex < kMaxButtons;
    return buttonHelp ? menu.buttons[menu.selectedIndex].help : menu.defaultHelp;
}

void DrawHelp(platform::DrawingContext given) {
    const Target target(given);
    platform::DrawingContext dc = target.Get();
    if (dc == nullptr) return;
    const char16_t* text = ShownHelpText();

    const platform::ScopedSavedState state(dc);
    if (menu.helpFont != nullptr) platform::SelectFont(dc, menu.helpFont);
    platform::SetTransparentBackground(dc);
    platform::SetTextColor(dc, ToColorValue(menu.helpColor));
    const platform::OwnedBrush background = SolidBrush(menu.buttonColorBk);
    platform::FillRectangle(dc, menu.helpRect, background.Get());
    char narrow[kNarrowCapacity];
    if (ToNarrow(narrow, text)[0] != 0) platform::DrawWrappedText(dc, narrow, menu.helpRect);
}

void DrawCopyright(platform::DrawingContext target) {
    if (menu.copyrightText[0] == 0) return;
    const platform::ScopedSavedState state(target);
    if (menu.copyrightFont != nullptr) platform::SelectFont(target, menu.copyrightFont);
    platform::SetTransparentBackground(target);
    const ColorTriple& color =
        platform::BitsPerPixel(target) > 8 ? menu.copyrightColor : menu.copyrightColorLowDepth;
    platform::SetTextColor(target, ToColorValue(color));
    platform::DrawWideText(target, menu.copyrightPos.x, menu.copyrightPos.y, menu.copyrightText);
}

void PaintMenuWindow(platform::Window window) {
    const platform::ScopedWindowPaint paint(window);
    platform::DrawingContext dc = paint.Get();
    // A paint request that is not answered comes back at once, for ever.
    if (dc == nullptr) {
        platform::MarkWindowPainted(window);
        return;
    }
    const Rect client{0, 0, RectWidth(menu.windowRect), RectHeight(menu.windowRect)};
    const platform::OwnedMemoryContext memory(platform::CreateMemoryContext(dc));
    platform::DrawingContext mem = memory.Get();
    const platform::ScopedSavedState memoryState(mem);

    // The class has no background brush: this fill is the only erasing.
    {
        const platform::OwnedBrush back = SolidBrush(menu.backColor);
        platform::FillRectangle(dc, client, back.Get());
    }
    // The picture is already scaled. Where bitmapRect reaches past it,
    // the background colour stays.
    if (mem != nullptr && menu.backgroundBitmap != nullptr) {
        platform::SelectBitmap(mem, menu.backgroundBitmap);
        const int32_t w = std::min(RectWidth(menu.bitmapRect), menu.bitmapSize.width);
        const int32_t h = std::min(RectHeight(menu.bitmapRect), menu.bitmapSize.height);
        if (w > 0 && h > 0) platform::CopyBlock(dc, menu.bitmapRect.left, menu.bitmapRect.top, w, h, mem, 0, 0);
    }
    PaintButtonPane(dc);
    DrawButtons(dc);
    DrawHelp(dc);
    DrawCopyright(dc);
    if (menu.edgeEnabled) DrawBevel(dc, client, ToColorValue(menu.edgeColor), false);
}
