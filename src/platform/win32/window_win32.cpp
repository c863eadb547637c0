#include <windows.h>

#include "platform/window.h"
#include "platform/win32/late_bound_win32.h"
#include "platform/win32/object_tally_win32.h"

namespace platform {

namespace {

HWND ToHwnd(Window window) {
    return reinterpret_cast<HWND>(window);
}

Window FromHwnd(HWND window) {
    return reinterpret_cast<Window>(window);
}

// The program registers one window class; its procedure is called through
// this adapter with plain parameters.
WindowProcedure registeredProcedure = nullptr;

LRESULT CALLBACK ProcedureAdapter(HWND window, UINT message, WPARAM first, LPARAM second) {
    return registeredProcedure(FromHwnd(window), message, first, second);
}

// The one window whose procedure the program replaces (the language list).
WindowProcedure replacementProcedure = nullptr;

LRESULT CALLBACK ReplacementAdapter(HWND window, UINT message, WPARAM first, LPARAM second) {
    return replacementProcedure(FromHwnd(window), message, first, second);
}

}  // namespace

Window FindTopLevelWindow(const char* className) {
    return FromHwnd(FindWindowA(className, nullptr));
}

void BringToForeground(Window window) {
    SetForegroundWindow(ToHwnd(window));
}

Window LastActivePopup(Window window) {
    return FromHwnd(GetLastActivePopup(ToHwnd(window)));
}

DrawingContext CreateDisplayInfo() {
    return Tallied(reinterpret_cast<DrawingContext>(CreateICA("DISPLAY", nullptr, nullptr, nullptr)));
}

int32_t DisplayColorCount(DrawingContext info) {
    return GetDeviceCaps(reinterpret_cast<HDC>(info), NUMCOLORS);
}

void ReleaseDisplayInfo(DrawingContext info) {
    Untallied(info);
    DeleteDC(reinterpret_cast<HDC>(info));
}

Rect WorkArea() {
    RECT area = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return Rect{area.left, area.top, area.right, area.bottom};
}

void GrowByFrame(Rect* rect, uint32_t style, uint32_t extendedStyle) {
    RECT frame = {rect->left, rect->top, rect->right, rect->bottom};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    *rect = Rect{frame.left, frame.top, frame.right, frame.bottom};
}

bool RegisterWindowClass(const char* className, WindowProcedure procedure, int iconId) {
    registeredProcedure = procedure;
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = ProcedureAdapter;
    windowClass.hInstance = module;
    windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(iconId));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

void UnregisterWindowClass(const char* className) {
    UnregisterClassA(className, GetModuleHandleA(nullptr));
}

Window CreateTopLevelWindow(uint32_t extendedStyle, const char* className, const char* title, uint32_t style,
                            int32_t x, int32_t y, int32_t width, int32_t height) {
    return FromHwnd(CreateWindowExA(extendedStyle, className, title, style, x, y, width, height, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr));
}

void ShowTopLevelWindow(Window window, int showCommand) {
    ShowWindow(ToHwnd(window), showCommand);
}

void PaintNow(Window window) {
    UpdateWindow(ToHwnd(window));
}

void DestroyTopLevelWindow(Window window) {
    DestroyWindow(ToHwnd(window));
}

bool DispatchNextMessage() {
    MSG message;
    // 0 is the quit request; -1, a failed fetch, would only repeat, so it ends the loop too.
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) return false;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

void PostQuitRequest() {
    PostQuitMessage(0);
}

intptr_t DefaultWindowProcedure(Window window, uint32_t message, uintptr_t first, intptr_t second) {
    return DefWindowProcA(ToHwnd(window), message, first, second);
}

void ShowMessageBox(Window owner, const char* text, const char* title, uint32_t flags) {
    MessageBoxA(ToHwnd(owner), text, title, flags);
}

void SetWindowTitle(Window window, const char* title) {
    SetWindowTextA(ToHwnd(window), title);
}

void WindowStyles(Window window, uint32_t* style, uint32_t* extendedStyle) {
    *style = static_cast<uint32_t>(GetWindowLongA(ToHwnd(window), GWL_STYLE));
    *extendedStyle = static_cast<uint32_t>(GetWindowLongA(ToHwnd(window), GWL_EXSTYLE));
}

void RequestRepaint(Window window) {
    InvalidateRect(ToHwnd(window), nullptr, TRUE);
}

Window CreateChildWindow(const char* className, const char* title, uint32_t style, int32_t x, int32_t y,
                         int32_t width, int32_t height, Window parent, Instance instance) {
    return FromHwnd(CreateWindowExA(0, className, title, style, x, y, width, height, ToHwnd(parent), nullptr,
                                    reinterpret_cast<HINSTANCE>(instance), nullptr));
}

Instance InstanceFromCreation(intptr_t creationParameter) {
    return reinterpret_cast<Instance>(reinterpret_cast<const CREATESTRUCTA*>(creationParameter)->hInstance);
}

NativeProcedure ReplaceWindowProcedure(Window window, WindowProcedure procedure) {
    replacementProcedure = procedure;
    return reinterpret_cast<NativeProcedure>(
        SetWindowLongPtrA(ToHwnd(window), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReplacementAdapter)));
}

intptr_t CallNativeProcedure(NativeProcedure procedure, Window window, uint32_t message, uintptr_t first,
                             intptr_t second) {
    return CallWindowProcA(reinterpret_cast<WNDPROC>(procedure), ToHwnd(window), message, first, second);
}

void ListReset(Window list) {
    if (list != nullptr) SendMessageA(ToHwnd(list), CB_RESETCONTENT, 0, 0);
}

void ListAdd(Window list, const char* text) {
    if (list != nullptr) SendMessageA(ToHwnd(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void ListSelect(Window list, int32_t index) {
    if (list != nullptr) SendMessageA(ToHwnd(list), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int32_t ListSelection(Window list) {
    if (list == nullptr) return -1;
    const LRESULT selection = SendMessageA(ToHwnd(list), CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int32_t>(selection);
}

void SetKeyboardFocus(Window window) {
    SetFocus(ToHwnd(window));
}

// Windows 95 has no leave tracking; the menu does without it there.
void TrackPointerLeave(Window window) {
    static const auto track = FunctionOf<decltype(&TrackMouseEvent)>("user32.dll", "TrackMouseEvent");
    if (track == nullptr) return;
    TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, ToHwnd(window), 0};
    track(&request);
}

bool IsShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

bool IsChildOf(Window parent, Window window) {
    return window != nullptr && IsChild(ToHwnd(parent), ToHwnd(window)) != FALSE;
}

uint32_t TickCount() {
    return GetTickCount();
}

void Wait(uint32_t milliseconds) {
    Sleep(milliseconds);
}

TimerId StartTimer(Window window, uint32_t milliseconds) {
    return SetTimer(ToHwnd(window), 0, milliseconds, nullptr);
}

void StopTimer(Window window, TimerId timer) {
    KillTimer(ToHwnd(window), timer);
}

void SendCloseMessage(Window window) {
    SendMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}

}  // namespace platform
