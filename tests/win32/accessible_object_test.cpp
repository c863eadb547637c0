// The menu window's accessible object in this process, through the real
// accessibility library: what it answers while the window lives and after.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "config/menu_model.h"
#include "platform/accessibility.h"
#include "support/heap_in_use.h"

namespace {

// A menu of two buttons in a window standing in for the menu's.
HWND OpenMenuOfTwoButtons() {
    menu = Menu{};
    menu.buttonCount = 2;
    HWND window = CreateWindowA("STATIC", "Menu", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    menu.mainWindow = reinterpret_cast<platform::Window>(window);
    return window;
}

TEST(AccessibleObject, AnsweredWhileTheWindowLivesThenNotConnected) {
    HWND window = OpenMenuOfTwoButtons();
    ASSERT_NE(window, nullptr);

    const intptr_t answer = platform::AnswerAccessibleObjectRequest(menu.mainWindow, 0);
    ASSERT_GT(answer, 0);
    IAccessible* object = nullptr;
    ASSERT_EQ(ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object)), S_OK);
    LONG count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);

    // Each answer is taken up and let go again: no reference stays behind,
    // and nothing on the heap (neither ours nor the system's stub for the object).
    const ULONG held = object->AddRef();
    object->Release();
    const uint64_t heapBefore = HeapBytesInUse();
    for (int k = 0; k < 1000; ++k) {
        IAccessible* again = nullptr;
        ASSERT_EQ(ObjectFromLresult(platform::AnswerAccessibleObjectRequest(menu.mainWindow, 0),
                                    __uuidof(IAccessible), 0, reinterpret_cast<void**>(&again)),
                  S_OK);
        again->Release();
    }
    EXPECT_LE(HeapBytesInUse(), heapBefore + 16 * 1024);
    EXPECT_EQ(object->AddRef(), held);
    object->Release();

    platform::DisconnectAccessibleObject();
    DestroyWindow(window);
    menu = Menu{};
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->accDoDefaultAction(self), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->Release(), 0u) << "the last reference frees it";
}

// What a call answers in its out parameters when it fails: nothing, as
// callers that read them anyway must find.
TEST(AccessibleObject, AFailedCallLeavesItsAnswersEmpty) {
    HWND window = OpenMenuOfTwoButtons();
    ASSERT_NE(window, nullptr);
    IAccessible* object = nullptr;
    ASSERT_EQ(ObjectFromLresult(platform::AnswerAccessibleObjectRequest(menu.mainWindow, 0), __uuidof(IAccessible), 0,
                                reinterpret_cast<void**>(&object)),
              S_OK);

    VARIANT noChild;
    noChild.vt = VT_I4;
    noChild.lVal = 99;
    BSTR name = SysAllocString(L"stale");
    BSTR kept = name;
    VARIANT role;
    role.vt = VT_I4;
    role.lVal = 7;
    IDispatch* child = reinterpret_cast<IDispatch*>(object);
    LONG left = 1, top = 2, width = 3, height = 4;
    EXPECT_EQ(object->get_accName(noChild, &name), E_INVALIDARG);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(object->get_accRole(noChild, &role), E_INVALIDARG);
    EXPECT_EQ(role.vt, VT_EMPTY);
    EXPECT_EQ(object->get_accChild(noChild, &child), E_INVALIDARG);
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(object->accLocation(&left, &top, &width, &height, noChild), E_INVALIDARG);
    EXPECT_EQ(left | top | width | height, 0);
    SysFreeString(kept);

    platform::DisconnectAccessibleObject();
    DestroyWindow(window);
    menu = Menu{};
    LONG count = 5;
    VARIANT focus;
    focus.vt = VT_I4;
    focus.lVal = 1;
    EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(object->get_accFocus(&focus), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(focus.vt, VT_EMPTY);
    object->Release();
}

}  // namespace
