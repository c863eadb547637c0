#include "check/layout_findings.h"

#include <algorithm>
#include <cstdint>

namespace {

// Coordinates in 64 bits: a rectangle moved by the window's position may
// leave the 32-bit range.
struct Area {
    int64_t left, top, right, bottom;
};

Area AreaOf(const Rect& r, int64_t dx = 0, int64_t dy = 0) {
    return Area{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

Area Intersection(const Area& a, const Area& b) {
    return Area{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const Area& a) {
    return a.right <= a.left || a.bottom <= a.top;
}

bool Inside(const Area& a, const Area& room) {
    return a.left >= room.left && a.top >= room.top && a.right <= room.right && a.bottom <= room.bottom;
}

std::string Text(const Area& a) {
    return std::to_string(a.left) + "," + std::to_string(a.top) + "," + std::to_string(a.right) + "," +
           std::to_string(a.bottom);
}

// "reaches outside" when part of it is inside, "lies outside" when none is.
std::string Outside(const Area& a, const Area& room) {
    return IsEmpty(Intersection(a, room)) ? " lies outside " : " reaches outside ";
}

constexpr size_t kNone = static_cast<size_t>(-1);

}  // namespace

std::vector<LayoutFault> LayoutFaults(const std::vector<LayoutElement>& elements, const Rect& window,
                                      const Size& screen) {
    std::vector<LayoutFault> faults;
    auto fault = [&](LayoutFaultKind kind, size_t element, size_t other, const Area& a, const Area& room,
                     const std::string& text) {
        faults.push_back(LayoutFault{kind, element, other, IsEmpty(Intersection(a, room)), text});
    };
    const Area inWindow{0, 0, int64_t{window.right} - window.left, int64_t{window.bottom} - window.top};
    const Area onScreen{0, 0, screen.width, screen.height};
    const std::string windowSize = std::to_string(inWindow.right) + "x" + std::to_string(inWindow.bottom);
    const std::string screenSize = std::to_string(screen.width) + "x" + std::to_string(screen.height);

    const Area windowArea = AreaOf(window);
    if (!Inside(windowArea, onScreen)) {
        fault(LayoutFaultKind::kWindowOffScreen, kNone, kNone, windowArea, onScreen,
              "the window" + Outside(windowArea, onScreen) + "the " + screenSize + " screen");
    }
    for (size_t i = 0; i < elements.size(); ++i) {
        if (IsEmptyRect(elements[i].rect)) continue;
        const Area a = AreaOf(elements[i].rect);
        for (size_t j = i + 1; j < elements.size(); ++j) {
            if (IsEmptyRect(elements[j].rect)) continue;
            const Area both = Intersection(a, AreaOf(elements[j].rect));
            if (!IsEmpty(both)) {
                faults.push_back(LayoutFault{LayoutFaultKind::kOverlap, i, j, false,
                                             elements[i].name + " and " + elements[j].name + " overlap at " +
                                                 Text(both)});
            }
        }
        if (!Inside(a, inWindow)) {
            fault(LayoutFaultKind::kOutsideWindow, i, kNone, a, inWindow,
                  elements[i].name + Outside(a, inWindow) + "the window (" + windowSize + ")");
        }
        const Area shown = AreaOf(elements[i].rect, window.left, window.top);
        if (!Inside(shown, onScreen)) {
            fault(LayoutFaultKind::kOffScreen, i, kNone, shown, onScreen,
                  elements[i].name + Outside(shown, onScreen) + "the " + screenSize + " screen");
        }
    }
    return faults;
}

std::vector<std::string> LayoutFindings(const std::vector<LayoutElement>& elements, const Rect& window,
                                        const Size& screen) {
    std::vector<std::string> texts;
    for (const LayoutFault& fault : LayoutFaults(elements, window, screen)) texts.push_back(fault.text);
    return texts;
}
