#include <windows.h>

#include <oleacc.h>

#include <new>

#include "app/accessible_tree.h"
#include "config/menu_model.h"
#include "platform/accessibility.h"
#include "platform/holders.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "platform/win32/late_bound_win32.h"

namespace platform {

namespace {

// The accessibility and automation libraries are looked up at the first
// request, so that the program imports neither and a menu nobody reads with
// an assistive tool never loads them.
struct Libraries {
    bool tried = false;
    HRESULT(WINAPI* initialize)(LPVOID, DWORD) = nullptr;
    void(WINAPI* uninitialize)() = nullptr;
    HRESULT(WINAPI* lockExternally)(LPUNKNOWN, BOOL, BOOL) = nullptr;
    LRESULT(WINAPI* resultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    HRESULT(WINAPI* createStandardObject)(HWND, LONG, REFIID, void**) = nullptr;
    BSTR(WINAPI* allocString)(const OLECHAR*) = nullptr;
};

template <typename Function>
void Find(Library library, const char* name, Function* function) {
    *function = FunctionIn<Function>(reinterpret_cast<HMODULE>(library), name);
}

HRESULT ChildOf(const VARIANT& child, int32_t* id) {
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > AccessibleChildCount()) return E_INVALIDARG;
    *id = child.lVal;
    return S_OK;
}

// A call that fails leaves its answers empty, so that a caller that reads
// them anyway finds nothing rather than what its memory held.
void Clear(BSTR* out) { *out = nullptr; }
void Clear(VARIANT* out) { out->vt = VT_EMPTY; }
void Clear(LONG* out) { *out = 0; }
void Clear(IDispatch** out) { *out = nullptr; }

// S_OK with every answer cleared; E_POINTER when one has no place.
template <typename... Answers>
HRESULT Prepare(Answers*... answers) {
    if (((answers == nullptr) || ...)) return E_POINTER;
    (Clear(answers), ...);
    return S_OK;
}

void SetChild(VARIANT* out, int32_t child) {
    out->vt = VT_I4;
    out->lVal = child;
}

// The client area of the menu window. Every property comes from the
// accessibility tree; this only translates. The list's own properties are
// asked of the list's object.
class MenuAccessible final : public IAccessible {
public:
    MenuAccessible(HWND window, const Libraries& libraries) : window(window), libraries(libraries) {}

    void Disconnect() { window = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        const HRESULT ready = Ready(parent);
        if (ready != S_OK) return ready;
        *parent = StandardObject(window, OBJID_WINDOW).Take();
        return *parent != nullptr ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        const HRESULT ready = Ready(count);
        if (ready != S_OK) return ready;
        *count = AccessibleChildCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT childId, IDispatch** object) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, object);
        if (checked != S_OK) return checked;
        if (AccessibleKindOf(child) != AccessibleKind::LanguageList) return S_FALSE;
        *object = ListObject().Take();
        return *object != nullptr ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT childId, BSTR* name) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, name);
        if (checked != S_OK) return checked;
        if (AccessibleKindOf(child) == AccessibleKind::LanguageList) return OnList(&IAccessible::get_accName, name);
        if (child != accessible::kSelf) return Text(AccessibleName(child), name);
        wchar_t title[kTitleCapacity] = {};
        GetWindowTextW(window, title, kTitleCapacity);
        return Text(reinterpret_cast<const char16_t*>(title), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT childId, BSTR* value) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, value);
        if (checked != S_OK) return checked;
        if (AccessibleKindOf(child) == AccessibleKind::LanguageList) return OnList(&IAccessible::get_accValue, value);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT childId, BSTR* description) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, description);
        if (checked != S_OK) return checked;
        if (AccessibleKindOf(child) == AccessibleKind::LanguageList) {
            return OnList(&IAccessible::get_accDescription, description);
        }
        return Text(AccessibleDescription(child), description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT childId, VARIANT* role) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, role);
        if (checked != S_OK) return checked;
        if (AccessibleKindOf(child) == AccessibleKind::LanguageList) return OnList(&IAccessible::get_accRole, role);
        SetChild(role, static_cast<int32_t>(AccessibleRole(child)));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT childId, VARIANT* state) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, state);
        if (checked != S_OK) return checked;
        if (AccessibleKindOf(child) == AccessibleKind::LanguageList) return OnList(&IAccessible::get_accState, state);
        uint32_t flags = AccessibleState(child);
        if (child == accessible::kSelf) {
            flags = accessible::kStateFocusable | (GetFocus() == window ? accessible::kStateFocused : 0);
        }
        SetChild(state, static_cast<int32_t>(flags));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT childId, BSTR* help) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, help);
        return checked != S_OK ? checked : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT childId, LONG* topic) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, file, topic);
        return checked != S_OK ? checked : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT childId, BSTR* shortcut) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, shortcut);
        return checked != S_OK ? checked : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        const HRESULT ready = Ready(focus);
        if (ready != S_OK) return ready;
        const HWND focused = GetFocus();
        const HWND list = reinterpret_cast<HWND>(menu.languageBox);
        const KeyboardFocus where = focused == window                      ? KeyboardFocus::Menu
                                    : list != nullptr && focused == list ? KeyboardFocus::List
                                                                         : KeyboardFocus::Elsewhere;
        return ChildAnswer(AccessibleFocus(where), focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        const HRESULT ready = Ready(selection);
        return ready != S_OK ? ready : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT childId, BSTR* action) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, action);
        if (checked != S_OK) return checked;
        if (AccessibleKindOf(child) == AccessibleKind::LanguageList) {
            return OnList(&IAccessible::get_accDefaultAction, action);
        }
        return Text(AccessibleButtonIndex(child) != -1 ? u"Press" : nullptr, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
        return window == nullptr ? CO_E_OBJNOTCONNECTED : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT childId) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child, left, top, width, height);
        if (checked != S_OK) return checked;
        RECT r{};
        if (child == accessible::kSelf) {
            GetClientRect(window, &r);
        } else if (AccessibleKindOf(child) == AccessibleKind::LanguageList) {
            GetWindowRect(reinterpret_cast<HWND>(menu.languageBox), &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        } else {
            Rect rect{};
            if (!AccessibleLocation(child, &rect)) return S_FALSE;
            r = RECT{rect.left, rect.top, rect.right, rect.bottom};
        }
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        *left = r.left + origin.x;
        *top = r.top + origin.y;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        int32_t from = 0;
        const HRESULT checked = Check(start, &from, end);
        if (checked != S_OK) return checked;
        int32_t to = -1;
        if ((direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) && from != accessible::kSelf) {
            to = AccessibleNavigate(from, direction == NAVDIR_NEXT);
        } else if ((direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) && from == accessible::kSelf) {
            to = AccessibleNavigate(from, direction == NAVDIR_FIRSTCHILD);
        }
        return ChildAnswer(to, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        const HRESULT ready = Ready(hit);
        if (ready != S_OK) return ready;
        POINT p{x, y};
        ScreenToClient(window, &p);
        RECT client{};
        GetClientRect(window, &client);
        if (!PtInRect(&client, p)) return S_FALSE;
        SetChild(hit, AccessibleHitTest(p.x, p.y));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT childId) override {
        int32_t child = 0;
        const HRESULT checked = Check(childId, &child);
        if (checked != S_OK) return checked;
        const int32_t index = AccessibleButtonIndex(child);
        if (index == -1) return DISP_E_MEMBERNOTFOUND;
        return PostMessageA(window, msg::kPressButton, static_cast<WPARAM>(index), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    static constexpr int kTitleCapacity = 256;

    // S_OK with the answers cleared; else what the call answers.
    template <typename... Answers>
    HRESULT Ready(Answers*... answers) const {
        const HRESULT prepared = Prepare(answers...);
        if (prepared != S_OK) return prepared;
        return window == nullptr ? CO_E_OBJNOTCONNECTED : S_OK;
    }
    // The same, with the child id.
    template <typename... Answers>
    HRESULT Check(const VARIANT& childId, int32_t* child, Answers*... answers) const {
        const HRESULT ready = Ready(answers...);
        return ready != S_OK ? ready : ChildOf(childId, child);
    }

    // The system's own object for a window: the menu window's frame (the
    // client area's parent) or the language list.
    [[nodiscard]] ComPtr<IDispatch> StandardObject(HWND of, LONG objectId) const {
        void* object = nullptr;
        if (FAILED(libraries.createStandardObject(of, objectId, __uuidof(IDispatch), &object))) return {};
        return ComPtr<IDispatch>(static_cast<IDispatch*>(object));
    }

    [[nodiscard]] ComPtr<IDispatch> ListObject() const {
        return StandardObject(reinterpret_cast<HWND>(menu.languageBox), OBJID_WINDOW);
    }

    // The list's object as an accessible one; none when it is not to be had.
    [[nodiscard]] ComPtr<IAccessible> ListAccessible() const {
        const ComPtr<IDispatch> object = ListObject();
        if (object.Get() == nullptr) return {};
        void* list = nullptr;
        if (FAILED(object->QueryInterface(__uuidof(IAccessible), &list))) return {};
        return ComPtr<IAccessible>(static_cast<IAccessible*>(list));
    }

    HRESULT Text(const char16_t* text, BSTR* out) const {
        if (text == nullptr) return S_FALSE;
        *out = libraries.allocString(reinterpret_cast<const OLECHAR*>(text));
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    // A child as an answer: the list as its own object, as get_accChild
    // hands it out, since tools ask an object, not its parent, about it;
    // any other child by its id; -1 as nothing.
    HRESULT ChildAnswer(int32_t child, VARIANT* out) const {
        if (child == -1) return S_FALSE;
        if (AccessibleKindOf(child) != AccessibleKind::LanguageList) {
            SetChild(out, child);
            return S_OK;
        }
        out->pdispVal = ListObject().Take();
        if (out->pdispVal == nullptr) return S_FALSE;
        out->vt = VT_DISPATCH;
        return S_OK;
    }

    template <typename Answer>
    HRESULT OnList(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, Answer*), Answer* answer) const {
        const ComPtr<IAccessible> list = ListAccessible();
        if (list.Get() == nullptr) return S_FALSE;
        VARIANT self;
        SetChild(&self, CHILDID_SELF);
        return (list.Get()->*property)(self, answer);
    }

    HWND window;
    // The service's, read only while the window lives.
    const Libraries& libraries;
    ULONG references = 1;
};

// What serves the window's object, from the window's first request for it
// to the window's end: the libraries, this thread's use of COM, the object
// and the lock on its stub. The program has one window, and so one service,
// which the window's requests and its destruction drive.
class AccessibleService {
public:
    [[nodiscard]] intptr_t Answer(HWND window, WPARAM first);
    void Disconnect();

private:
    [[nodiscard]] bool LoadLibraries();

    Libraries libraries;
    // True from a successful start of COM on this thread to its matching end.
    bool comStarted = false;
    // The window's object; the service holds one reference while the window lives.
    ComPtr<MenuAccessible> object;
    bool locked = false;
};

bool AccessibleService::LoadLibraries() {
    if (!libraries.tried) {
        libraries.tried = true;
        const Library ole32 = LoadSystemLibrary("ole32.dll");
        Find(ole32, "CoInitializeEx", &libraries.initialize);
        Find(ole32, "CoUninitialize", &libraries.uninitialize);
        Find(ole32, "CoLockObjectExternal", &libraries.lockExternally);
        const Library oleacc = LoadSystemLibrary("oleacc.dll");
        Find(oleacc, "LresultFromObject", &libraries.resultFromObject);
        Find(oleacc, "CreateStdAccessibleObject", &libraries.createStandardObject);
        Find(LoadSystemLibrary("oleaut32.dll"), "SysAllocString", &libraries.allocString);
    }
    // Calls from other processes must arrive through this thread's message
    // loop, one at a time, never on a thread of their own.
    if (!comStarted && libraries.initialize != nullptr && libraries.uninitialize != nullptr) {
        comStarted = SUCCEEDED(libraries.initialize(nullptr, COINIT_APARTMENTTHREADED));
    }
    return libraries.resultFromObject != nullptr && libraries.createStandardObject != nullptr &&
           libraries.allocString != nullptr && libraries.lockExternally != nullptr;
}

// The object's stub (what answers other processes for it) is locked for the
// window's life, so that every request finds the one stub instead of having
// a new one built and torn down again when the tool lets go. Wine 8 keeps
// about 1 KB (2 KB in a 64-bit process) of every torn-down stub of this
// interface, which a screen reader asking at every event would pile up.
intptr_t AccessibleService::Answer(HWND window, WPARAM first) {
    if (!LoadLibraries()) return 0;
    if (object.Get() == nullptr) {
        object = ComPtr<MenuAccessible>(new (std::nothrow) MenuAccessible(window, libraries));
        if (object.Get() == nullptr) return 0;
        locked = SUCCEEDED(libraries.lockExternally(object.Get(), TRUE, FALSE));
    }
    const LRESULT answer = libraries.resultFromObject(__uuidof(IAccessible), first, object.Get());
    return answer > 0 ? answer : 0;
}

void AccessibleService::Disconnect() {
    if (object.Get() != nullptr) {
        object->Disconnect();
        if (locked) libraries.lockExternally(object.Get(), FALSE, TRUE);
        locked = false;
        object.Reset();
    }
    // Ends COM on this thread as it was started; tools that still hold the
    // object are cut off from it.
    if (comStarted) libraries.uninitialize();
    comStarted = false;
}

AccessibleService service;

}  // namespace

intptr_t AnswerAccessibleObjectRequest(Window window, uintptr_t first) {
    return service.Answer(reinterpret_cast<HWND>(window), first);
}

void DisconnectAccessibleObject() {
    service.Disconnect();
}

// Windows NT 4.0 without Active Accessibility has no events; nobody can
// listen for them there either.
void RaiseAccessibleEvent(Window window, uint32_t event, int32_t child) {
    static const auto notify = FunctionOf<decltype(&NotifyWinEvent)>("user32.dll", "NotifyWinEvent");
    if (notify != nullptr) notify(event, reinterpret_cast<HWND>(window), OBJID_CLIENT, child);
}

}  // namespace platform
