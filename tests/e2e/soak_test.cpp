// The menu in long use under Wine: 1,000 language switches through the list
// and 10,000 hover, press and release cycles must leave its drawing objects
// and its private memory where they were, and 1,000 round trips of an
// assistive tool its drawing objects and its heap. Drawing objects are
// counted by the test build of the menu (tessaline_tallied.exe), which
// publishes the platform layer's tally, since Wine answers GetGuiResources
// with 0, and measures its heaps when asked.
#include <windows.h>
#include <oleacc.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "e2e/menu_process.h"
#include "e2e/object_tally.h"
#include "support/fixture_bytes.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr DWORD kLimitMs = 20000;
constexpr int kLanguageSwitches = 1000;
constexpr int kPointerCycles = 10000;
// Heap pages that the allocator keeps once it has grown: more than this
// after the run is a leak, not noise.
constexpr SIZE_T kPrivateGrowthAllowed = 512 * 1024;
constexpr COLORREF kBulletHi = RGB(255, 0, 0);

// Two languages with fonts, colours and sizes of their own, so that each
// switch replaces fonts and repaints everything; three buttons that start
// nothing and do not end the menu.
std::u16string Configuration() {
    std::u16string text =
        u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=3\r\nLanguageCount=2\r\n"
        u"ButtonPaneRect=5,5,210,150,3d\r\nHelpRect=220,120,380,230\r\nEdge=250,190,40\r\n"
        u"BtnFont=16,700,0,0,Tahoma\r\nHelpFont=13,400,1,0,MS Sans Serif\r\n"
        u"BulletColorHi=255,0,0\r\nBulletColorLo=0,255,0\r\n"
        u"[Languages]\r\nlanguage1=0x09\r\nlanguage2=0x07\r\n";
    for (const char16_t* tag : {u"0x09", u"0x07"}) {
        const std::u16string t = tag;
        const bool english = t == u"0x09";
        text += u"[LangCombo-" + t + u"]\r\nBtnRect=260,10,380,100\r\n0x09=English\r\n0x07=Deutsch\r\n";
        text += u"[Prompt-" + t + u"]\r\nAppName=" + (english ? u"English" : u"Deutsch") +
                u"\r\nDefHelp=Help text\r\nFont=" + (english ? u"13,400,0,0,Tahoma" : u"12,700,0,1,MS Sans Serif") +
                u"\r\nBtnFont=" + (english ? u"15,400,0,0,Tahoma" : u"17,700,1,0,Tahoma") + u"\r\n";
        text += u"[Copyright-" + t + u"]\r\nName=Copyright line\r\nPosition=10,220\r\n";
        for (int n = 1; n <= 3; ++n) {
            const std::u16string number(1, static_cast<char16_t>(u'0' + n));
            const std::u16string top = n == 1 ? u"10" : n == 2 ? u"50" : u"90";
            const std::u16string bottom = n == 1 ? u"40" : n == 2 ? u"80" : u"120";
            text += u"[Button" + number + u"-" + t + u"]\r\nName=Button " + number + u"\r\nHelp=Help of " + number +
                    u"\r\nBtnRect=10," + top + u",200," + bottom + u"\r\n";
        }
    }
    return text;
}

// The tally published by the test build of the menu.
class ObjectTally {
public:
    explicit ObjectTally(DWORD processId) {
        mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, ObjectTallyName(processId).c_str());
        if (mapping != nullptr) {
            published = static_cast<const volatile PublishedTally*>(
                MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(PublishedTally)));
        }
        request = OpenEventA(EVENT_MODIFY_STATE, FALSE, HeapRequestName(processId).c_str());
        answer = OpenEventA(SYNCHRONIZE, FALSE, HeapAnswerName(processId).c_str());
    }
    ~ObjectTally() {
        if (published != nullptr) UnmapViewOfFile(const_cast<PublishedTally*>(published));
        for (HANDLE handle : {mapping, request, answer}) {
            if (handle != nullptr) CloseHandle(handle);
        }
    }
    ObjectTally(const ObjectTally&) = delete;
    ObjectTally& operator=(const ObjectTally&) = delete;
    bool Open() const { return published != nullptr && request != nullptr && answer != nullptr; }
    int32_t Live() const { return published->drawingObjects; }
    // The menu's heap bytes in use, measured now by the menu; 0 when it does not answer.
    uint64_t HeapBytes() const {
        SetEvent(request);
        return WaitForSingleObject(answer, kLimitMs) == WAIT_OBJECT_0 ? published->heapBytes : 0;
    }

private:
    HANDLE mapping = nullptr;
    HANDLE request = nullptr;
    HANDLE answer = nullptr;
    const volatile PublishedTally* published = nullptr;
};

// Private bytes: Wine leaves PrivateUsage at 0 and reports the same
// commit charge as PagefileUsage.
SIZE_T PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        return 0;
    }
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

LRESULT Send(HWND window, UINT message, WPARAM first, LPARAM second) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, first, second, SMTO_NORMAL, kLimitMs, &result);
    return static_cast<LRESULT>(result);
}

void Pointer(HWND window, UINT message, int x, int y) {
    Send(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

std::string Title(HWND window) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// Switches the language with the list's own arrow keys and has the menu
// paint the result. Returns false when the title does not follow.
bool SwitchLanguage(HWND window, HWND list, int k) {
    const bool toGerman = k % 2 == 0;
    Send(list, WM_KEYDOWN, toGerman ? VK_DOWN : VK_UP, 0);
    UpdateWindow(window);
    return Title(window) == (toGerman ? "Deutsch" : "English");
}

// Over button k % 3, pressed; released on it every other time, dragged off
// and released beside it otherwise. The buttons start nothing.
void PointerCycle(HWND window, int k) {
    const int y = 25 + 40 * (k % 3);
    Pointer(window, WM_MOUSEMOVE, 100, y);
    Pointer(window, WM_LBUTTONDOWN, 100, y);
    if (k % 2 == 0) {
        Pointer(window, WM_LBUTTONUP, 100, y);
    } else {
        Pointer(window, WM_MOUSEMOVE, 300, y);
        Pointer(window, WM_LBUTTONUP, 300, y);
    }
    Pointer(window, WM_MOUSEMOVE, 300, 200);
}

struct Reading {
    int32_t objects;
    SIZE_T privateBytes;
    uint64_t heapBytes;
};

// Once the menu is idle: all painting done, nothing half made.
// The tallied build of the menu as a disc's tessaline.exe, with its picture
// and configuration.
void WriteTalliedDisc(TempFolder& disc) {
    disc.CopyIn(OwnFolder() + "tessaline_tallied.exe", "tessaline.exe");
    disc.Write("back.bmp", fixture::PlainBitmap(400, 240, {20, 30, 60}));
    disc.Write("install.ini", fixture::Utf16Le(Configuration()));
}

Reading Read(HWND window, HANDLE process, const ObjectTally& tally) {
    UpdateWindow(window);
    Send(window, WM_NULL, 0, 0);
    return Reading{tally.Live(), PrivateBytes(process), tally.HeapBytes()};
}

TEST(LongRun, LanguageSwitchesAndPointerCyclesLeaveObjectsAndMemoryFlat) {
    SetCursorPos(0, 0);  // the real pointer away from the menu
    TempFolder disc;
    WriteTalliedDisc(disc);

    MenuProcess menu(disc.Path() + "tessaline.exe", "", disc.Path());
    HWND window = menu.WaitForWindow(kMenuClass, kLimitMs);
    ASSERT_NE(window, nullptr);
    HWND list = FindWindowExA(window, nullptr, "ComboBox", nullptr);
    ASSERT_NE(list, nullptr);
    const ObjectTally tally(menu.Id());
    ASSERT_TRUE(tally.Open()) << "the test build publishes its tally";
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, menu.Id());
    ASSERT_NE(process, nullptr);

    // Warm up, so that what is made once and kept (the system's caches) is made.
    for (int k = 0; k < 20; ++k) SwitchLanguage(window, list, k);
    for (int k = 0; k < 100; ++k) PointerCycle(window, k);
    const Reading before = Read(window, process, tally);
    ASSERT_GT(before.objects, 0) << "the fonts and the picture are counted";
    ASSERT_GT(before.privateBytes, 0u) << "the system reports the menu's memory";

    const DWORD start = GetTickCount();
    int switchesNotFollowed = 0;
    for (int k = 0; k < kLanguageSwitches; ++k) {
        if (!SwitchLanguage(window, list, k)) ++switchesNotFollowed;
    }
    const Reading afterSwitches = Read(window, process, tally);
    const DWORD switchesDone = GetTickCount();
    for (int k = 0; k < kPointerCycles; ++k) PointerCycle(window, k);
    const Reading after = Read(window, process, tally);
    const DWORD cyclesDone = GetTickCount();

    std::printf("drawing objects: %d before, %d after %d language switches, %d after %d pointer cycles\n",
                before.objects, afterSwitches.objects, kLanguageSwitches, after.objects, kPointerCycles);
    std::printf("private bytes: %lu before, %lu after the switches, %lu after the cycles\n",
                static_cast<unsigned long>(before.privateBytes), static_cast<unsigned long>(afterSwitches.privateBytes),
                static_cast<unsigned long>(after.privateBytes));
    std::printf("time: %lu ms for the switches, %lu ms for the cycles\n",
                static_cast<unsigned long>(switchesDone - start),
                static_cast<unsigned long>(cyclesDone - switchesDone));

    EXPECT_EQ(switchesNotFollowed, 0) << "every switch reached the menu";
    EXPECT_EQ(afterSwitches.objects, before.objects);
    EXPECT_EQ(after.objects, before.objects);
    EXPECT_LE(after.privateBytes, before.privateBytes + kPrivateGrowthAllowed);

    // Still answering: the pointer over the first button highlights its bullet.
    Pointer(window, WM_MOUSEMOVE, 100, 25);
    COLORREF bullet = CLR_INVALID;
    for (int attempt = 0; attempt < 50 && bullet != kBulletHi; ++attempt) {
        PumpMessagesFor(20);
        bullet = ScreenPixel(window, 12, 25);
    }
    EXPECT_EQ(bullet, kBulletHi);

    CloseHandle(process);
    Send(window, WM_USER, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(kLimitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

// An assistive tool asking again and again: each round trip makes the window
// answer an object request, reads names, a description, a state and places
// (the copyright line's is measured on a drawing context) and lets go of the
// object. Drawing objects and the heap must stay flat. Private bytes are
// reported, not checked: under Wine the threads that serve other processes'
// calls come and go, each with a megabyte or more of stack, so they move in
// steps of megabytes whatever the menu does.
TEST(LongRun, AccessibilityRoundTripsLeaveDrawingObjectsAndMemoryFlat) {
    constexpr int kRoundTrips = 1000;
    // 16 bytes a round trip: a name string or an object left behind each time fails.
    constexpr uint64_t kHeapGrowthAllowed = 16 * 1024;
    CoInitialize(nullptr);
    TempFolder disc;
    WriteTalliedDisc(disc);
    MenuProcess menu(disc.Path() + "tessaline.exe", "", disc.Path());
    HWND window = menu.WaitForWindow(kMenuClass, kLimitMs);
    ASSERT_NE(window, nullptr);
    const ObjectTally tally(menu.Id());
    ASSERT_TRUE(tally.Open());
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, menu.Id());
    ASSERT_NE(process, nullptr);

    int failures = 0;
    auto roundTrip = [&]() {
        IAccessible* object = nullptr;
        if (AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object)) != S_OK) {
            ++failures;
            return;
        }
        VARIANT child;
        child.vt = VT_I4;
        for (LONG id : {1L, 5L}) {
            child.lVal = id;
            BSTR text = nullptr;
            if (object->get_accName(child, &text) != S_OK) ++failures;
            SysFreeString(text);
            LONG x = 0, y = 0, w = 0, h = 0;
            if (object->accLocation(&x, &y, &w, &h, child) != S_OK) ++failures;
        }
        BSTR description = nullptr;
        if (object->get_accDescription(child, &description) != S_FALSE) ++failures;  // none for the copyright line
        child.lVal = 2;
        if (object->get_accDescription(child, &description) != S_OK) ++failures;
        SysFreeString(description);
        VARIANT state;
        if (object->get_accState(child, &state) != S_OK) ++failures;
        object->Release();
    };
    for (int k = 0; k < 20; ++k) roundTrip();
    const Reading before = Read(window, process, tally);
    for (int k = 0; k < kRoundTrips; ++k) roundTrip();
    const Reading after = Read(window, process, tally);
    std::printf("accessibility round trips: drawing objects %d before, %d after; heap bytes %llu before, %llu after; "
                "private bytes %lu before, %lu after\n",
                before.objects, after.objects, static_cast<unsigned long long>(before.heapBytes),
                static_cast<unsigned long long>(after.heapBytes), static_cast<unsigned long>(before.privateBytes),
                static_cast<unsigned long>(after.privateBytes));

    EXPECT_EQ(failures, 0);
    EXPECT_EQ(after.objects, before.objects);
    ASSERT_GT(before.heapBytes, 0u) << "the test build measures its heaps";
    EXPECT_LE(after.heapBytes, before.heapBytes + kHeapGrowthAllowed);
    CloseHandle(process);
    Send(window, WM_USER, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(kLimitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    CoUninitialize();
}

}  // namespace
