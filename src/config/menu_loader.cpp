#include "config/menu_loader.h"

#include "platform/window.h"

// Until the configuration is read, the window is the background picture's
// size, centred on the work area's right and bottom edges.
int32_t LoadMenuConfiguration(const char* /*iniPath*/, char16_t (&/*languageTag*/)[kLanguageTagCapacity]) {
    menu.windowRect = Rect{0, 0, menu.bitmapSize.width, menu.bitmapSize.height};
    menu.bitmapRect = menu.windowRect;
    const Rect workArea = platform::WorkArea();
    const int32_t dx = (workArea.right - menu.windowRect.right) >> 1;
    const int32_t dy = (workArea.bottom - menu.windowRect.bottom) >> 1;
    menu.windowRect = Rect{dx, dy, dx + menu.windowRect.right, dy + menu.windowRect.bottom};
    return 0;
}
