// The least a Windows program does to show a window: register a class,
// create a pop-up window and paint it in one colour. startup_latency
// measures the menu against it.
//   bare_window X Y WIDTH HEIGHT COLOUR   (COLOUR as hexadecimal 0x00BBGGRR)
#include <windows.h>

#include <cstdlib>

namespace {

COLORREF colour = 0;

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(colour);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, first, second);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 6) return 2;
    const int x = std::atoi(__argv[1]);
    const int y = std::atoi(__argv[2]);
    const int width = std::atoi(__argv[3]);
    const int height = std::atoi(__argv[4]);
    colour = static_cast<COLORREF>(std::strtoul(__argv[5], nullptr, 16));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "Tessaline bare window";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "bare", WS_POPUP, x, y, width, height, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
