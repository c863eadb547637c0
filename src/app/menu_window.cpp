#include "app/menu_window.h"

#include "config/menu_model.h"
#include "platform/bitmap.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "render/menu_painting.h"

// Until the menu's interaction is built, the window paints the menu, closes
// on Esc or a WM_USER request, and the unattended run ends at once.
intptr_t MenuWindowProc(platform::Window window, uint32_t message, uintptr_t first, intptr_t second) {
    switch (message) {
        case msg::kCreate:
            if (menu.unattended) platform::PostQuitRequest();
            return 0;
        case msg::kEraseBackground:
            return 1;
        case msg::kPaint:
            PaintMenuWindow(window);
            return 0;
        case msg::kKeyDown:
            if (first == key::kEscape) platform::PostQuitRequest();
            return 0;
        case msg::kUser:
            platform::DestroyTopLevelWindow(window);
            return 0;
        case msg::kDestroy:
            platform::ReleaseBitmap(menu.backgroundBitmap);
            menu.backgroundBitmap = nullptr;
            platform::PostQuitRequest();
            return 0;
        default:
            return platform::DefaultWindowProcedure(window, message, first, second);
    }
}
