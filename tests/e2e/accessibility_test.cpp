// The menu read and worked from another process, as a screen reader does:
// through the window's accessible object and the events it raises.
#include <windows.h>

#include <oleacc.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "e2e/menu_process.h"
#include "support/fixture_bytes.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr LONG kNothing = -1;
constexpr LONG kListObject = 100;

VARIANT Child(LONG id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR text) {
    std::wstring taken = text != nullptr ? std::wstring(text) : L"(none)";
    SysFreeString(text);
    return taken;
}

// The events the hook saw, as {event, child}.
std::vector<std::pair<DWORD, LONG>> seenEvents;
HWND watchedWindow = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window == watchedWindow && object == OBJID_CLIENT) seenEvents.emplace_back(event, child);
}

bool SawEvent(DWORD event, LONG child) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (const auto& seen : seenEvents) {
            if (seen.first == event && seen.second == child) return true;
        }
        PumpMessagesFor(20);
    }
    return false;
}

// The full path of the process's module of that file name, lower case; empty
// when it has none.
std::string ModulePath(DWORD processId, const std::string& fileName) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) return "(not opened)";
    HMODULE modules[512];
    DWORD bytes = 0;
    std::string found;
    if (EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        for (DWORD k = 0; k < bytes / sizeof(HMODULE) && k < 512; ++k) {
            char path[MAX_PATH] = {};
            GetModuleFileNameExA(process, modules[k], path, MAX_PATH);
            std::string lower = path;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower.size() >= fileName.size() + 1 && lower.compare(lower.size() - fileName.size() - 1,
                                                                     std::string::npos, "\\" + fileName) == 0) {
                found = lower;
            }
        }
    }
    CloseHandle(process);
    return found;
}

// Three buttons in English and German (a probe, a probe that ends the menu,
// a button that only ends it), help texts, a copyright line, a language list.
class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(0, 0);
        CoInitialize(nullptr);
        disc.Folder().CopyIn(OwnFolder() + "launch_probe.exe", "tools\\probe.exe");
        disc.Folder().Write("back.bmp", fixture::PlainBitmap(320, 240, {20, 20, 20}));
        std::u16string sections;
        for (const std::u16string t : {u"0x09", u"0x07"}) {
            const bool english = t == u"0x09";
            sections += u"[Button1-" + t + u"]\r\nName=" + (english ? u"Probe" : u"Sonde") +
                        u"\r\nHelp=" + (english ? u"Starts the probe." : u"Startet die Sonde.") +
                        u"\r\nBtnRect=10,20,150,50\r\nPath=tools\\probe.exe\r\nArgs=/greet\r\n"
                        u"[Button2-" + t + u"]\r\nName=Last\r\nBtnRect=10,60,150,90\r\nPath=tools\\probe.exe\r\n"
                        u"Args=/last\r\nExit=true\r\n"
                        u"[Button3-" + t + u"]\r\nName=Quit\r\nHelp=Ends.\r\nBtnRect=10,100,150,130\r\nExit=true\r\n"
                        u"[Copyright-" + t + u"]\r\nName=" + (english ? u"(c) Probe" : u"(c) Sonde") + u"\r\n"
                        u"[Prompt-" + t + u"]\r\nAppName=" + (english ? u"English menu" : u"Deutsches Men\u00FC") +
                        u"\r\nDefHelp=" + (english ? u"Choose." : u"W\u00E4hlen.") + u"\r\n";
        }
        disc.Folder().Write("install.ini",
                            fixture::Utf16Le(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=3\r\nLanguageCount=2\r\n"
                                             u"HelpRect=160,150,310,230\r\n"
                                             u"[Languages]\r\nlanguage1=0x09,0\r\nlanguage2=0x07,0\r\n"
                                             u"[LangCombo-0x09]\r\nBtnRect=200,10,310,100\r\n0x09=English\r\n0x07=Deutsch\r\n"
                                             u"[LangCombo-0x07]\r\nBtnRect=200,10,310,100\r\n0x09=Englisch\r\n0x07=Deutsch\r\n" +
                                             sections));
    }
    void TearDown() override {
        if (object != nullptr) object->Release();
        CoUninitialize();
    }

    // Starts the menu and reads its client area's object.
    HWND Open(MenuProcess& menu) {
        HWND window = menu.WaitForWindow(kMenuClass);
        if (window == nullptr) return nullptr;
        PumpMessagesFor(200);
        const HRESULT result =
            AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
        EXPECT_EQ(result, S_OK);
        list = FindWindowExA(window, nullptr, "ComboBox", nullptr);
        return object != nullptr ? window : nullptr;
    }
    std::wstring Name(LONG child) {
        BSTR name = nullptr;
        object->get_accName(Child(child), &name);
        return Take(name);
    }
    // What an answer names, and takes: a child id, kListObject for the
    // list's own object, kNothing for none.
    LONG Named(VARIANT* answer) {
        LONG named = kNothing;
        if (answer->vt == VT_I4) named = answer->lVal;
        if (answer->vt == VT_DISPATCH) {
            HWND shown = nullptr;
            IAccessible* other = nullptr;
            if (answer->pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&other)) == S_OK) {
                WindowFromAccessibleObject(other, &shown);
                other->Release();
            }
            named = shown != nullptr && shown == list ? kListObject : -2;
        }
        VariantClear(answer);
        return named;
    }
    LONG Focus() {
        VARIANT focus;
        VariantInit(&focus);
        const HRESULT result = object->get_accFocus(&focus);
        const LONG named = Named(&focus);
        return result == (named == kNothing ? S_FALSE : S_OK) ? named : -3;
    }
    bool IsHot(LONG child) {
        VARIANT state;
        VariantInit(&state);
        return object->get_accState(Child(child), &state) == S_OK && (state.lVal & STATE_SYSTEM_HOTTRACKED) != 0;
    }

    Disc disc;
    ProbeLog log;
    IAccessible* object = nullptr;
    HWND list = nullptr;
};

TEST_F(Accessibility, AnotherProcessReadsEveryChild) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    LONG count = 0;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 6) << "three buttons, help area, copyright line, language list";

    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    const struct {
        LONG role;
        const wchar_t* name;
        const wchar_t* description;
        RECT rect;
    } expected[] = {
        {ROLE_SYSTEM_CLIENT, title, L"(none)", {}},
        {ROLE_SYSTEM_PUSHBUTTON, L"Probe", L"Starts the probe.", {10, 20, 150, 50}},
        {ROLE_SYSTEM_PUSHBUTTON, L"Last", L"", {10, 60, 150, 90}},
        {ROLE_SYSTEM_PUSHBUTTON, L"Quit", L"Ends.", {10, 100, 150, 130}},
        {ROLE_SYSTEM_STATICTEXT, L"Choose.", L"(none)", {160, 150, 310, 230}},
        {ROLE_SYSTEM_STATICTEXT, L"(c) Probe", L"(none)", {}},
    };
    for (LONG child = 0; child < 6; ++child) {
        SCOPED_TRACE(child);
        VARIANT role;
        ASSERT_EQ(object->get_accRole(Child(child), &role), S_OK);
        EXPECT_EQ(role.lVal, expected[child].role);
        EXPECT_EQ(Name(child), expected[child].name);
        BSTR description = nullptr;
        object->get_accDescription(Child(child), &description);
        EXPECT_EQ(Take(description), expected[child].description);
        if (child < 1 || child > 4) continue;
        LONG x = 0, y = 0, w = 0, h = 0;
        ASSERT_EQ(object->accLocation(&x, &y, &w, &h, Child(child)), S_OK);
        const RECT& r = expected[child].rect;
        EXPECT_EQ(x, origin.x + r.left);
        EXPECT_EQ(y, origin.y + r.top);
        EXPECT_EQ(w, r.right - r.left);
        EXPECT_EQ(h, r.bottom - r.top);
    }
    BSTR action = nullptr;
    ASSERT_EQ(object->get_accDefaultAction(Child(1), &action), S_OK);
    EXPECT_EQ(Take(action), L"Press");

    IDispatch* list = nullptr;
    ASSERT_EQ(object->get_accChild(Child(6), &list), S_OK);
    ASSERT_NE(list, nullptr);
    IAccessible* listObject = nullptr;
    ASSERT_EQ(list->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&listObject)), S_OK);
    HWND listWindow = nullptr;
    ASSERT_EQ(WindowFromAccessibleObject(listObject, &listWindow), S_OK);
    EXPECT_EQ(listWindow, FindWindowExA(window, nullptr, "ComboBox", nullptr)) << "the system's object of the list";
    listObject->Release();
    list->Release();

    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(object->accHitTest(origin.x + 80, origin.y + 75, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 2);
    ASSERT_EQ(object->accHitTest(origin.x + 200, origin.y + 200, &hit), S_OK);
    EXPECT_EQ(hit.lVal, 4) << "the help area";
    CloseAndExpectExitZero(menu, window);
}

TEST_F(Accessibility, TheLibraryLoadsFromTheSystemFolderAtTheFirstRequestOnly) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr);
    input::MoveTo(window, 100, 35);
    input::Tap(VK_TAB);
    PumpMessagesFor(300);
    EXPECT_EQ(ModulePath(menu.Id(), "oleacc.dll"), "") << "shown, hovered and tabbed through without it";
    ASSERT_NE(Open(menu), nullptr);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::string expected = std::string(system) + "\\oleacc.dll";
    for (char& c : expected) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ModulePath(menu.Id(), "oleacc.dll"), expected);
    CloseAndExpectExitZero(menu, window);
}

TEST_F(Accessibility, TabMovesTheFocusAndRaisesItsEvent) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    watchedWindow = window;
    seenEvents.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnEvent, menu.Id(), 0,
                                         WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(Focus(), CHILDID_SELF) << "the menu has the focus, nothing highlighted yet";
    input::MoveTo(window, 250, 200);
    input::Tap(VK_TAB);
    EXPECT_TRUE(SawEvent(EVENT_OBJECT_FOCUS, 1));
    EXPECT_EQ(Focus(), 1);
    input::Tap(VK_DOWN);
    EXPECT_TRUE(SawEvent(EVENT_OBJECT_FOCUS, 2));
    EXPECT_EQ(Focus(), 2);
    input::Tap(VK_TAB);
    input::Tap(VK_TAB);
    EXPECT_EQ(Focus(), kListObject) << "past the last button the list has the focus";
    UnhookWinEvent(hook);
    CloseAndExpectExitZero(menu, window);
}

TEST_F(Accessibility, ThePointerMakesButtonsHotAndSaysSo) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    watchedWindow = window;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, OnEvent,
                                         menu.Id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const struct {
        const char* move;
        int x, y;
        LONG hot;
        std::vector<LONG> changed;
    } steps[] = {
        {"onto the first button", 80, 35, 1, {1}},
        {"within it", 90, 40, 1, {}},
        {"straight onto the second", 80, 75, 2, {1, 2}},
        {"off every button", 250, 200, kNothing, {2}},
        {"back onto the first button", 80, 35, 1, {1}},
        {"out of the window", -40, -40, kNothing, {1}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.move);
        seenEvents.clear();
        input::MoveTo(window, step.x, step.y);
        for (LONG child : step.changed) EXPECT_TRUE(SawEvent(EVENT_OBJECT_STATECHANGE, child)) << child;
        PumpMessagesFor(100);
        for (const auto& seen : seenEvents) {
            EXPECT_NE(std::find(step.changed.begin(), step.changed.end(), seen.second), step.changed.end())
                << "a state change for " << seen.second;
        }
        for (LONG child = 1; child <= 3; ++child) EXPECT_EQ(IsHot(child), child == step.hot) << child;
    }
    UnhookWinEvent(hook);
    CloseAndExpectExitZero(menu, window);
}

TEST_F(Accessibility, NavigationFollowsTheTabOrder) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(list, nullptr);
    // The list, the three buttons, the help area (4), the copyright line (5).
    const struct {
        LONG from;
        LONG direction;
        LONG to;
    } cases[] = {
        {CHILDID_SELF, NAVDIR_FIRSTCHILD, kListObject}, {CHILDID_SELF, NAVDIR_LASTCHILD, 5},
        {CHILDID_SELF, NAVDIR_NEXT, kNothing},          {6, NAVDIR_NEXT, 1},
        {1, NAVDIR_NEXT, 2},                            {3, NAVDIR_NEXT, 4},
        {4, NAVDIR_NEXT, 5},                            {5, NAVDIR_NEXT, kNothing},
        {5, NAVDIR_PREVIOUS, 4},                        {2, NAVDIR_PREVIOUS, 1},
        {1, NAVDIR_PREVIOUS, kListObject},              {6, NAVDIR_PREVIOUS, kNothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << ", direction " << c.direction);
        VARIANT end;
        VariantInit(&end);
        const HRESULT result = object->accNavigate(c.direction, Child(c.from), &end);
        EXPECT_EQ(result, c.to == kNothing ? S_FALSE : S_OK);
        EXPECT_EQ(Named(&end), c.to);
    }
    CloseAndExpectExitZero(menu, window);
}

TEST_F(Accessibility, TheDefaultActionStartsTheButtonsProgram) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(object->accDoDefaultAction(Child(1)), S_OK);
    ASSERT_TRUE(log.WaitForLines(1));
    EXPECT_EQ(CommandLineOf(log.Lines()[0]), "\"" + disc.Folder().Path() + "tools\\probe.exe\" /greet");
    EXPECT_EQ(object->accDoDefaultAction(Child(4)), DISP_E_MEMBERNOTFOUND) << "the help area has no action";
    ASSERT_EQ(object->accDoDefaultAction(Child(3)), S_OK);
    ExpectExitZero(menu);
    EXPECT_EQ(log.Lines().size(), 1u);
}

TEST_F(Accessibility, ALanguageSwitchRenamesTheTreeAndSaysSo) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    watchedWindow = window;
    seenEvents.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, OnEvent,
                                         menu.Id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    // From the last button, Tab moves to the list; Down chooses German.
    input::MoveTo(window, 100, 115);
    PumpMessagesFor(200);
    input::Tap(VK_TAB);
    input::Tap(VK_DOWN);
    EXPECT_TRUE(SawEvent(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF));
    EXPECT_TRUE(SawEvent(EVENT_OBJECT_NAMECHANGE, 1));
    EXPECT_TRUE(SawEvent(EVENT_OBJECT_NAMECHANGE, 5));
    for (const auto& seen : seenEvents) EXPECT_NE(seen.second, 2) << "\"Last\" is the same in both";
    EXPECT_EQ(Name(CHILDID_SELF), L"Deutsches Men\u00FC");
    EXPECT_EQ(Name(1), L"Sonde");
    EXPECT_EQ(Name(5), L"(c) Sonde");
    UnhookWinEvent(hook);
    input::Tap(VK_ESCAPE);
    ExpectExitZero(menu);
}

}  // namespace
