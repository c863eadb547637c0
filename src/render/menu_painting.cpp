#include "render/menu_painting.h"

#include <algorithm>
#include <cstring>

#include "config/menu_model.h"
#include "config/saturating.h"
#include "config/wide_text.h"
#include "platform/bitmap.h"
#include "platform/drawing.h"
#include "platform/text.h"

namespace {

// The window's own context when no target is given, released on the way out.
class Target {
public:
    explicit Target(platform::DrawingContext given) : context(given) {
        if (context == nullptr && menu.mainWindow != nullptr) {
            context = platform::WindowContext(menu.mainWindow);
            owned = context != nullptr;
        }
    }
    ~Target() {
        if (owned) platform::ReleaseWindowContext(menu.mainWindow, context);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    platform::DrawingContext get() const { return context; }

private:
    platform::DrawingContext context;
    bool owned = false;
};

class SolidBrush {
public:
    explicit SolidBrush(const ColorTriple& color) : brush(platform::MakeBrush(ToColorValue(color))) {}
    ~SolidBrush() { platform::ReleaseBrush(brush); }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    platform::Brush get() const { return brush; }

private:
    platform::Brush brush;
};

class MemoryContext {
public:
    explicit MemoryContext(platform::DrawingContext compatibleWith)
        : context(platform::CreateMemoryContext(compatibleWith)) {}
    ~MemoryContext() {
        if (context != nullptr) platform::DeleteMemoryContext(context);
    }
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;
    platform::DrawingContext get() const { return context; }

private:
    platform::DrawingContext context;
};

class SolidPen {
public:
    explicit SolidPen(uint32_t color) : pen(platform::MakePen(color)) {}
    ~SolidPen() {
        if (pen != nullptr) platform::ReleasePen(pen);
    }
    SolidPen(const SolidPen&) = delete;
    SolidPen& operator=(const SolidPen&) = delete;
    platform::Pen get() const { return pen; }

private:
    platform::Pen pen;
};

// Saves a context's state for the length of one drawing step.
class SavedState {
public:
    explicit SavedState(platform::DrawingContext context) : context(context) { platform::SaveContext(context); }
    ~SavedState() { platform::RestoreContext(context); }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    platform::DrawingContext context;
};

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
    platform::DrawingContext dc = target.get();
    if (dc == nullptr) return;
    const SolidPen light(BevelLight(color));
    const SolidPen dark(BevelDark(color));
    // Both pens or nothing: a failed selection of a missing pen loses the pen
    // to put back, and the other pen would then stay selected, and so alive,
    // after its release.
    if (light.get() == nullptr || dark.get() == nullptr) return;
    platform::Pen first = sunken ? dark.get() : light.get();
    platform::Pen second = sunken ? light.get() : dark.get();

    const int32_t lastColumn = SaturatingAdd(rect.right, -1);
    const int32_t lastRow = SaturatingAdd(rect.bottom, -1);
    platform::Pen previous = platform::SelectPen(dc, first);
    platform::MoveTo(dc, rect.left, lastRow);
    platform::DrawLineTo(dc, rect.left, rect.top);
    platform::DrawLineTo(dc, lastColumn, rect.top);
    platform::SelectPen(dc, second);
    platform::DrawLineTo(dc, lastColumn, lastRow);
    platform::DrawLineTo(dc, SaturatingAdd(rect.left, -1), lastRow);
    platform::SelectPen(dc, previous);
}

void PaintButtonPane(platform::DrawingContext target) {
    if (menu.buttonPaneRect.left == menu.buttonPaneRect.right) return;
    {
        const SolidBrush pane(menu.buttonPaneColor);
        platform::FillRectangle(target, menu.buttonPaneRect, pane.get());
    }
    if (menu.buttonPane3D) DrawBevel(target, menu.buttonPaneRect, ToColorValue(menu.buttonPaneColor), false);
}

void DrawButtons(platform::DrawingContext given) {
    const Target target(given);
    platform::DrawingContext dc = target.get();
    if (dc == nullptr) return;
    const Size pictureSize = ButtonPictureSize();
    if (pictureSize.width <= 0 || pictureSize.height <= 0) return;

    const MemoryContext memory(dc);
    const SolidBrush background(menu.buttonColorBk);
    const SolidBrush bulletSelected(menu.bulletColorHi);
    const SolidBrush bulletOther(menu.bulletColorLo);
    platform::Bitmap picture =
        platform::CreateOffscreenBitmap(pictureSize.width, pictureSize.height, platform::BitsPerPixel(dc));
    platform::DrawingContext mem = memory.get();
    if (mem == nullptr || picture == nullptr) {
        if (picture != nullptr) platform::ReleaseBitmap(picture);
        return;
    }
    {
        const SavedState targetState(dc);
        const SavedState memoryState(mem);
        platform::SetTransparentBackground(mem);
        platform::AlignTextTopLeft(mem);
        platform::SelectBitmap(mem, picture);
        if (menu.buttonFont != nullptr) platform::SelectFont(mem, menu.buttonFont);
        const int32_t h = platform::TextExtent(mem, "Test").height;

        for (int32_t i = 0; i < menu.buttonCount && i < kMaxButtons; ++i) {
            const Button& button = menu.buttons[i];
            const int32_t w = RectWidth(button.rect);
            const int32_t t = RectHeight(button.rect);
            // A button without area has nothing to show.
            if (w <= 0 || t <= 0) continue;
            const bool selected = i == menu.selectedIndex;
            platform::FillRectangle(mem, Rect{0, 0, w, t}, background.get());
            const Rect bullet{0, 1, h, t - 1};
            platform::FillRectangle(mem, bullet, selected ? bulletSelected.get() : bulletOther.get());
            DrawBevel(mem, bullet, ToColorValue(selected ? menu.bulletColorHi : menu.bulletColorLo),
                      selected && menu.isPressed);
            platform::SetTextColor(mem, ToColorValue(selected ? menu.buttonColorHi : menu.buttonColorLo));
            platform::DrawWideText(mem, Saturate(int64_t{2} * h), 0, button.name);
            platform::CopyBlock(dc, button.rect.left, button.rect.top, w, t, mem, 0, 0);
        }
    }
    platform::ReleaseBitmap(picture);
}

const char16_t* ShownHelpText() {
    const bool buttonHelp = menu.selectedIndex >= 0 && menu.selectedIndex < kMaxButtons;
    return buttonHelp ? menu.buttons[menu.selectedIndex].help : menu.defaultHelp;
}

void DrawHelp(platform::DrawingContext given) {
    const Target target(given);
    platform::DrawingContext dc = target.get();
    if (dc == nullptr) return;
    const char16_t* text = ShownHelpText();

    const SavedState state(dc);
    if (menu.helpFont != nullptr) platform::SelectFont(dc, menu.helpFont);
    platform::SetTransparentBackground(dc);
    platform::SetTextColor(dc, ToColorValue(menu.helpColor));
    const SolidBrush background(menu.buttonColorBk);
    platform::FillRectangle(dc, menu.helpRect, background.get());
    char narrow[kNarrowCapacity];
    if (ToNarrow(narrow, text)[0] != 0) platform::DrawWrappedText(dc, narrow, menu.helpRect);
}

void DrawCopyright(platform::DrawingContext target) {
    if (menu.copyrightText[0] == 0) return;
    const SavedState state(target);
    if (menu.copyrightFont != nullptr) platform::SelectFont(target, menu.copyrightFont);
    platform::SetTransparentBackground(target);
    const ColorTriple& color =
        platform::BitsPerPixel(target) > 8 ? menu.copyrightColor : menu.copyrightColorLowDepth;
    platform::SetTextColor(target, ToColorValue(color));
    platform::DrawWideText(target, menu.copyrightPos.x, menu.copyrightPos.y, menu.copyrightText);
}

void PaintMenuWindow(platform::Window window) {
    platform::DrawingContext dc = platform::BeginWindowPaint(window);
    // A paint request that is not answered comes back at once, for ever.
    if (dc == nullptr) {
        platform::MarkWindowPainted(window);
        return;
    }
    const Rect client{0, 0, RectWidth(menu.windowRect), RectHeight(menu.windowRect)};
    {
        const MemoryContext memory(dc);
        platform::DrawingContext mem = memory.get();
        if (mem != nullptr) platform::SaveContext(mem);

        // The class has no background brush: this fill is the only erasing.
        {
            const SolidBrush back(menu.backColor);
            platform::FillRectangle(dc, client, back.get());
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

        if (mem != nullptr) platform::RestoreContext(mem);
    }
    platform::EndWindowPaint(window);
}
