#include "app/startup_rules.h"

#include "config/formatted_input.h"
#include "platform/text.h"

bool HasUnattendedSwitch(const char* argumentText) {
    for (const char* p = argumentText; *p != 0; ++p) {
        if ((p[0] == '-' || p[0] == '/') && (p[1] == 's' || p[1] == 'S')) return true;
    }
    return false;
}

// Character by character: in the double-byte code pages the second byte of a
// character can have the backslash's value without being one.
bool CutAfterLastBackslash(char* path) {
    const char* last = nullptr;
    for (const char* p = path; *p != 0; p = platform::NextCharacter(p)) {
        if (*p == '\\') last = p;
    }
    if (last == nullptr) return false;
    path[last - path + 1] = 0;
    return true;
}

BitmapNames ReadBitmapNames(UnicodeIniReader& reader) {
    BitmapNames names{};
    reader.GetString(u"General", u"BitmapFile256", u"", names.name256);
    reader.GetString(u"General", u"BitmapFile016", names.name256, names.name016);
    return names;
}

const char16_t* ChooseBitmapName(const BitmapNames& names, int32_t displayColors) {
    const char16_t* taken = displayColors == -1 ? names.name256 : names.name016;
    if (taken[0] == 0) taken = names.name016;
    return taken[0] == 0 ? nullptr : taken;
}

namespace {

// available / max(wanted, available) as a single-precision fraction: 1.0 when
// the dimension fits. A work area too small to leave room gives no ratio.
// Wide enough for a work area edge less the margin, whatever the edge.
float FitRatio(int64_t available, int32_t wanted) {
    if (available <= 0 || wanted <= available) return 1.0f;
    return static_cast<float>(static_cast<double>(available) / static_cast<double>(wanted));
}

}  // namespace

float ComputeScale(float current, const Rect& workArea, const char16_t* appSize) {
    // A number the value does not hold counts as 0, the same as the default "0,0".
    int32_t width = 0;
    int32_t height = 0;
    int32_t* const targets[] = {&width, &height};
    ScanIntegers(appSize, "%d,%d", targets, 2);

    // Only the right and bottom edges count: a task bar on the left or top
    // does not shrink the room.
    const float ratioW = FitRatio(int64_t{workArea.right} - kWorkAreaMargin, width);
    const float ratioH = FitRatio(int64_t{workArea.bottom} - kWorkAreaMargin, height);
    const float m = ratioW < ratioH ? ratioW : ratioH;
    return current < m ? current : m;
}
