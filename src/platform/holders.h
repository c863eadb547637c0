#pragma once
// Holders for the system's resources, one kind each: whatever a function
// takes from the system goes back when its holder ends, on every path out.
// Holders end in the reverse order of their declaration, so a holder
// declared after another ends first: a selection or a saved state declared
// after the objects it selects gives them back to the context before they
// are released.

#include "platform/bitmap.h"
#include "platform/drawing.h"
#include "platform/file.h"
#include "platform/font.h"
#include "platform/process.h"
#include "platform/system.h"
#include "platform/types.h"
#include "platform/window.h"

namespace platform {

// Owns one handle, which `Release` gives back. It holds none when made
// empty, moved from or taken from, and then releases nothing.
template <typename Handle, void (*Release)(Handle)>
class [[nodiscard]] Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : handle(other.Take()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset();
            handle = other.Take();
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return handle; }
    // For a holder of an interface: its methods.
    Handle operator->() const { return handle; }
    // Hands the handle on (into an answer, say): whoever takes it releases it.
    [[nodiscard]] Handle Take() {
        const Handle taken = handle;
        handle = nullptr;
        return taken;
    }
    // Gives the handle back now. The holder is empty before the release
    // runs, so that nothing the release sets off finds it still held.
    void Reset() {
        const Handle released = Take();
        if (released != nullptr) Release(released);
    }

private:
    Handle handle = nullptr;
};

using OwnedBrush = Owned<Brush, ReleaseBrush>;
using OwnedPen = Owned<Pen, ReleasePen>;
using OwnedFont = Owned<Font, ReleaseFont>;
using OwnedBitmap = Owned<Bitmap, ReleaseBitmap>;
using OwnedMemoryContext = Owned<DrawingContext, DeleteMemoryContext>;
using OwnedDisplayInfo = Owned<DrawingContext, ReleaseDisplayInfo>;
using OwnedLibrary = Owned<Library, UnloadLibrary>;
using OwnedFile = Owned<File, CloseFile>;
using OwnedSystemErrorText = Owned<char*, ReleaseSystemErrorText>;

// The drawing context of a window outside paint requests (the screen's for
// no window), taken when the holder is made; none when the system gives none.
class [[nodiscard]] OwnedWindowContext {
public:
    OwnedWindowContext() = default;
    explicit OwnedWindowContext(Window window) : window(window), context(WindowContext(window)) {}
    ~OwnedWindowContext() { Reset(); }
    OwnedWindowContext(OwnedWindowContext&& other) noexcept : window(other.window), context(other.context) {
        other.context = nullptr;
    }
    OwnedWindowContext& operator=(OwnedWindowContext&& other) noexcept {
        if (this != &other) {
            Reset();
            window = other.window;
            context = other.context;
            other.context = nullptr;
        }
        return *this;
    }
    OwnedWindowContext(const OwnedWindowContext&) = delete;
    OwnedWindowContext& operator=(const OwnedWindowContext&) = delete;

    DrawingContext Get() const { return context; }

private:
    void Reset() {
        if (context != nullptr) ReleaseWindowContext(window, context);
        context = nullptr;
    }

    Window window = nullptr;
    DrawingContext context = nullptr;
};

// One paint request of a window, begun when the holder is made. A request
// that gives no context is not ended.
class ScopedWindowPaint {
public:
    explicit ScopedWindowPaint(Window window) : window(window), context(BeginWindowPaint(window)) {}
    ~ScopedWindowPaint() {
        if (context != nullptr) EndWindowPaint(window);
    }
    ScopedWindowPaint(const ScopedWindowPaint&) = delete;
    ScopedWindowPaint& operator=(const ScopedWindowPaint&) = delete;

    DrawingContext Get() const { return context; }

private:
    Window window;
    DrawingContext context;
};

// A context's selections and modes, saved when the holder is made and put
// back when it ends; nothing without a context.
class ScopedSavedState {
public:
    explicit ScopedSavedState(DrawingContext context) : context(context) {
        if (context != nullptr) SaveContext(context);
    }
    ~ScopedSavedState() {
        if (context != nullptr) RestoreContext(context);
    }
    ScopedSavedState(const ScopedSavedState&) = delete;
    ScopedSavedState& operator=(const ScopedSavedState&) = delete;

private:
    DrawingContext context;
};

// Selects pens into a context; when the holder ends, the pen that its first
// selection replaced is selected again. A failed first selection leaves
// nothing to put back.
class ScopedPenSelection {
public:
    ScopedPenSelection(DrawingContext context, Pen pen) : context(context), replaced(SelectPen(context, pen)) {}
    ~ScopedPenSelection() {
        if (replaced != nullptr) static_cast<void>(SelectPen(context, replaced));
    }
    ScopedPenSelection(const ScopedPenSelection&) = delete;
    ScopedPenSelection& operator=(const ScopedPenSelection&) = delete;

    // Selects another pen in place of the current one.
    void Select(Pen pen) { static_cast<void>(SelectPen(context, pen)); }

private:
    DrawingContext context;
    Pen replaced;
};

// The process and thread handles of a started process, closed when the
// holder ends.
class ScopedProcessHandles {
public:
    explicit ScopedProcessHandles(const ProcessInfo& info) : info(info) {}
    ~ScopedProcessHandles() { CloseProcessInfo(info); }
    ScopedProcessHandles(const ScopedProcessHandles&) = delete;
    ScopedProcessHandles& operator=(const ScopedProcessHandles&) = delete;

private:
    ProcessInfo info;
};

// Holds one reference to a COM interface and calls its Release when the
// holder ends. It needs no system header: it only calls the interface's own
// Release, so any type with one will do.
template <typename Interface>
void ReleaseReference(Interface* reference) {
    reference->Release();
}
template <typename Interface>
using ComPtr = Owned<Interface*, ReleaseReference<Interface>>;

}  // namespace platform
