#include "e2e/sample_configs.h"

#include <gtest/gtest.h>

#include "support/fixture_bytes.h"

void WriteTwoLanguageDisc(const Disc& disc) {
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(32, 32, {40, 80, 120}));
    disc.Folder().Write("install.ini", fixture::Utf16Le(
                                           u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=2\r\n"
                                           u"[Languages]\r\nlanguage1=0x09,0\r\nlanguage2=0x07,0\r\n"
                                           u"[Prompt-0x09]\r\nAppSize=400,300\r\n"
                                           u"[Prompt-0x07]\r\nAppSize=300,200\r\n"));
}

SIZE OpenedClientSize(const Disc& disc) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = menu.WaitForWindow("Quorvan Belmira Autorun");
    if (window == nullptr) {
        ADD_FAILURE() << "no menu window";
        return SIZE{0, 0};
    }
    RECT client;
    GetClientRect(window, &client);
    SendMessageA(window, WM_USER, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(menu.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    return SIZE{client.right, client.bottom};
}
