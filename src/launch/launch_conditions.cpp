#include "launch/launch_conditions.h"

#include <algorithm>
#include <cstring>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "platform/text.h"

namespace {

// The product type is compared as the text up to its first zero byte or the
// end of the bytes read, whichever comes first: a value stored without a
// terminator is never read past.
int32_t KindOfProductType(const char* bytes, size_t size) {
    const size_t length = static_cast<size_t>(std::find(bytes, bytes + size, '\0') - bytes);
    auto is = [&](const char* text) { return std::strlen(text) == length && std::memcmp(bytes, text, length) == 0; };
    if (is("servernt") || is("lanmannt")) return kOsServer;
    if (is("personal")) return kOsPersonal;
    return kOsProfessional;
}

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Copies the text from `from` up to the next comma or the end into `field`;
// returns where the next field begins, or null after the last one.
const char* TakeField(const char* from, char (&field)[256]) {
    size_t n = 0;
    if (from != nullptr) {
        for (; *from != 0 && *from != ','; ++from) {
            if (n + 1 < sizeof field) field[n++] = *from;
        }
    }
    field[n] = 0;
    if (from == nullptr || *from == 0) return nullptr;
    return from + 1;
}

}  // namespace

void ClassifySystem(const SystemFacts& facts, int32_t* osKind, int32_t* osVersion) {
    *osKind = kOsUnknown;
    // A system that does not say its version stays unknown rather than
    // passing for the 9x family.
    if (!facts.versionRead) return;
    if (facts.platformId != kPlatformNt) {
        *osKind = kOs9x;
    } else {
        if (!facts.productTypeRead) return;
        *osKind = KindOfProductType(facts.productType, facts.productTypeSize);
    }
    *osVersion = static_cast<int32_t>(facts.major * 100u + facts.minor);
}

int32_t ReadConditionInteger(const char* text) {
    while (IsWhiteSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<uint32_t>(*text - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

void SplitCondition(const char* condition, ConditionFields* fields) {
    const char* next = TakeField(condition, fields->osWord);
    next = TakeField(next, fields->minimum);
    TakeField(next, fields->maximum);
}

bool ConditionBlocks(int32_t kind, int32_t version, const char* osWord, const char* minimum, const char* maximum) {
    // The range comes first, so it applies to "all" as well; both ends are
    // inclusive and a maximum of 0 means no upper bound.
    if (ReadConditionInteger(minimum) > version) return true;
    const int32_t upper = ReadConditionInteger(maximum);
    if (upper != 0 && upper < version) return true;

    // Only "all" and "9x" are taken without regard to letter case; "NT" is a
    // word outside the table.
    if (EqualsFoldingAZ(osWord, "all")) return false;
    if (EqualsFoldingAZ(osWord, "9x")) return kind != kOs9x;
    if (std::strcmp(osWord, "nt") == 0) return kind != kOsPersonal && kind != kOsProfessional && kind != kOsServer;
    if (std::strcmp(osWord, "pers") == 0) return kind != kOsPersonal;
    if (std::strcmp(osWord, "pro") == 0) return kind != kOsProfessional;
    if (std::strcmp(osWord, "srv") == 0) return kind != kOsServer;
    // Any other word, the empty one included, does not restrict the system.
    return false;
}

bool PreRunAllowed(int32_t buttonIndex) {
    if (buttonIndex < 0 || buttonIndex >= kMaxButtons) return false;
    const Button& button = menu.buttons[buttonIndex];
    // Arguments without a program still count as a preparatory step.
    if (button.preRun[0] == 0 && button.preArgs[0] == 0) return false;

    // A condition longer than the conversion buffer is cut at a character
    // boundary by ToNarrow.
    char condition[kNarrowCapacity];
    ToNarrow(condition, button.preCond);
    ConditionFields fields;
    SplitCondition(condition, &fields);
    return !ConditionBlocks(menu.osKind, menu.osVersion, fields.osWord, fields.minimum, fields.maximum);
}
