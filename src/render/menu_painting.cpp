#include "render/menu_painting.h"

#include "config/menu_model.h"
#include "platform/window.h"

// Until the menu's own drawing is built, a change of the buttons or the help
// area repaints the window.
void DrawButtons(platform::DrawingContext /*target*/) {
    if (menu.mainWindow != nullptr) platform::RequestRepaint(menu.mainWindow);
}

void DrawHelp(platform::DrawingContext /*target*/) {
    if (menu.mainWindow != nullptr) platform::RequestRepaint(menu.mainWindow);
}
