// The small parsers that read values of install.ini and the command line:
// formatted input (with any pattern, and with the program's own), rectangles,
// sizes and the scale they give, colours, font values, PreCond and the
// system classification, the unattended switch, language names and tags, the
// wide-text helpers and the launch texts. The first byte picks the parser;
// the rest is its text, as UTF-16 little endian or as narrow bytes.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/selection.h"
#include "app/startup_rules.h"
#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/ini_values.h"
#include "config/language_selection.h"
#include "config/language_tag.h"
#include "config/menu_model.h"
#include "config/scaling.h"
#include "config/wide_text.h"
#include "fuzz_check.h"
#include "launch/launch_command.h"
#include "launch/launch_conditions.h"
#include "platform/text.h"
#include "render/fonts.h"
#include "support/platform_double.h"

namespace {

// The input after the selector, in the forms the parsers take.
struct Texts {
    std::u16string wide;   // every two bytes one unit, up to the first 0 unit
    std::string narrow;    // the bytes up to the first 0
    std::u16string second; // the wide units after the first 0 unit, up to the next
    std::vector<uint8_t> bytes;
};

Texts Split(const uint8_t* data, size_t size) {
    Texts t;
    t.bytes.assign(data, data + size);
    std::u16string all;
    for (size_t k = 0; k + 1 < size; k += 2) all.push_back(static_cast<char16_t>(data[k] | (data[k + 1] << 8)));
    const size_t end = all.find(u'\0');
    t.wide = all.substr(0, end);
    if (end != std::u16string::npos) t.second = all.substr(end + 1).c_str();
    t.narrow = std::string(reinterpret_cast<const char*>(data), size).c_str();
    return t;
}

uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) value |= static_cast<uint32_t>(at + k < bytes.size() ? bytes[at + k] : 0) << (8 * k);
    return value;
}

// A wide text in a heap buffer of exactly its length plus terminator, so that
// a read past the terminator is seen.
std::vector<char16_t> Exact(const std::u16string& text) {
    return std::vector<char16_t>(text.c_str(), text.c_str() + text.size() + 1);
}

bool Terminated(const char16_t* text, size_t capacity) {
    return std::char_traits<char16_t>::find(text, capacity, 0) != nullptr;
}

bool Terminated(const char* text, size_t capacity) {
    return std::memchr(text, 0, capacity) != nullptr;
}

// A scale that start-up could settle on: from a size and a work area.
float ScaleFrom(const std::u16string& appSize, const std::vector<uint8_t>& bytes) {
    const Rect workArea{0, 0, static_cast<int32_t>(WordAt(bytes, 0)), static_cast<int32_t>(WordAt(bytes, 4))};
    const std::vector<char16_t> text = Exact(appSize);
    const float scale = ComputeScale(1.0f, workArea, text.data());
    FUZZ_CHECK(scale > 0.0f && scale <= 1.0f);
    return scale;
}

void FormattedInputWithAnyPattern(const Texts& t) {
    // The pattern is the narrow text, the input the wide text after it.
    const std::string pattern = t.narrow.substr(0, 40);
    const std::vector<char16_t> text = Exact(t.second);
    constexpr size_t kTargets = 8;
    int32_t values[kTargets + 2];
    std::fill(values, values + kTargets + 2, 0x5A5A5A5A);
    int32_t* targets[kTargets];
    for (size_t k = 0; k < kTargets; ++k) targets[k] = &values[k + 1];
    const size_t count = t.bytes.empty() ? 0 : t.bytes.back() % (kTargets + 1);
    const int assigned = ScanIntegers(text.data(), pattern.c_str(), targets, count);
    FUZZ_CHECK(assigned >= 0 && static_cast<size_t>(assigned) <= count);
    FUZZ_CHECK(values[0] == 0x5A5A5A5A && values[kTargets + 1] == 0x5A5A5A5A);
    for (size_t k = static_cast<size_t>(assigned); k < kTargets; ++k) FUZZ_CHECK(values[k + 1] == 0x5A5A5A5A);
}

void RectanglesSizesAndNumbers(const Texts& t) {
    menu.scale = ScaleFrom(t.second, t.bytes);
    const std::vector<char16_t> text = Exact(t.wide);
    const Rect rect = ParseRect(text.data(), true);
    const Rect unscaled = ParseRect(text.data(), false);
    // Scaling keeps every sign.
    FUZZ_CHECK((rect.left < 0) == (unscaled.left < 0) || rect.left == 0);
    FUZZ_CHECK((rect.bottom < 0) == (unscaled.bottom < 0) || rect.bottom == 0);
    FUZZ_CHECK(WantsBevel(text.data()) == (t.wide.find(u"3d") != std::u16string::npos ||
                                           t.wide.find(u"3D") != std::u16string::npos));
    Point position{5, 6};
    int32_t* const targets[] = {&position.x, &position.y};
    ScanIntegers(text.data(), "%i,%i", targets, 2);
    position = Scaled(position);
    const int32_t number = WideToInt(text.data());
    const int32_t scaled = Scaled(number);
    FUZZ_CHECK(number >= 0 ? scaled >= 0 : scaled <= 0);
}

void Colours(const Texts& t) {
    const std::vector<char16_t> text = Exact(t.wide);
    ColorTriple color{-2147483647 - 1, 300, -1};
    ReadColor(text.data(), &color);
    FUZZ_CHECK(ToColorValue(color) <= 0xFFFFFFu);
}

void Fonts(const Texts& t) {
    ResetPlatformDouble();
    menu = Menu{};
    menu.scale = ScaleFrom(t.second, t.bytes);
    const std::vector<char16_t> value = Exact(t.wide);
    platform::FontDescription description{};
    const bool described = DescribeFont(value.data(), fake.defaultGuiFont, &description);
    FUZZ_CHECK(described == (t.wide.find(u',') != std::u16string::npos));
    FUZZ_CHECK(Terminated(description.faceName, sizeof description.faceName));
    // Requests made, made again and replaced: never more than three fonts live.
    for (FontRequest* request : {&menu.buttonFontRequest, &menu.helpFontRequest, &menu.copyrightFontRequest}) {
        RequestFont(request, value.data());
    }
    MakeRequestedFonts();
    RequestFont(&menu.buttonFontRequest, value.data());
    RequestFont(&menu.copyrightFontRequest, value.data());
    MakeRequestedFonts();
    FUZZ_CHECK(LiveFontCount() <= 3);
    for (const Call& font : TakeCalls({Op::CreateFontFrom})) {
        FUZZ_CHECK(font.texts[0].size() < platform::kFaceNameCapacity);
    }
}

void LaunchConditions(const Texts& t) {
    menu = Menu{};
    menu.osKind = static_cast<int32_t>(WordAt(t.bytes, 0) % 7);
    menu.osVersion = static_cast<int32_t>(WordAt(t.bytes, 4));
    CopyWide(menu.buttons[0].preCond, t.wide.c_str());
    CopyWide(menu.buttons[0].preRun, u"setup.exe");
    PreRunAllowed(0);
    FUZZ_CHECK(!PreRunAllowed(-1) && !PreRunAllowed(kMaxButtons));

    // The narrow condition as it comes, and its integers.
    ConditionFields fields;
    SplitCondition(t.narrow.c_str(), &fields);
    FUZZ_CHECK(Terminated(fields.osWord, sizeof fields.osWord));
    FUZZ_CHECK(Terminated(fields.minimum, sizeof fields.minimum));
    FUZZ_CHECK(Terminated(fields.maximum, sizeof fields.maximum));
    ConditionBlocks(menu.osKind, menu.osVersion, fields.osWord, fields.minimum, fields.maximum);
    ReadConditionInteger(t.narrow.c_str());

    // A product type of any bytes, without a terminator, in a buffer of its size.
    SystemFacts facts{};
    facts.versionRead = (t.bytes.size() & 1) != 0;
    facts.platformId = WordAt(t.bytes, 8) % 4;
    facts.major = WordAt(t.bytes, 12);
    facts.minor = WordAt(t.bytes, 16);
    facts.productTypeRead = (t.bytes.size() & 2) != 0;
    const std::vector<char> productType(t.bytes.begin(), t.bytes.end());
    facts.productType = productType.data();
    facts.productTypeSize = productType.size();
    int32_t kind = -1;
    int32_t version = -1;
    ClassifySystem(facts, &kind, &version);
    FUZZ_CHECK(kind >= kOsUnknown && kind <= kOsServer && kind != 2);
}

void SwitchScan(const Texts& t) {
    const std::vector<char> text(t.narrow.c_str(), t.narrow.c_str() + t.narrow.size() + 1);
    const bool found = HasUnattendedSwitch(text.data());
    // Any text that holds the switch still holds it with more text around it.
    const std::string longer = "x " + t.narrow + " y";
    FUZZ_CHECK(!found || HasUnattendedSwitch(longer.c_str()));
}

void LanguageNamesAndTags(const Texts& t) {
    const std::vector<char16_t> value = Exact(t.wide);
    const size_t capacity = 1 + WordAt(t.bytes, 0) % kLanguageNameCapacity;
    std::vector<char16_t> name(capacity, u'#');
    LanguageDisplayName(value.data(), (t.bytes.size() & 1) != 0, name.data(), capacity);
    FUZZ_CHECK(Terminated(name.data(), capacity));
    char16_t tag[kLanguageTagCapacity];
    FormatLanguageTag(WordAt(t.bytes, 4), tag, kLanguageTagCapacity);
    FUZZ_CHECK(Terminated(tag, kLanguageTagCapacity));
    UserLanguageTag(static_cast<uint16_t>(WordAt(t.bytes, 8)), tag, kLanguageTagCapacity);
    FUZZ_CHECK(Terminated(tag, kLanguageTagCapacity));
}

void WideTextHelpers(const Texts& t) {
    const std::vector<char16_t> text = Exact(t.wide);
    const size_t capacity = WordAt(t.bytes, 0) % 300;
    std::vector<char16_t> copy(capacity + 1, u'#');
    CopyWide(copy.data(), capacity, text.data());
    if (capacity > 0) FUZZ_CHECK(Terminated(copy.data(), capacity));
    FUZZ_CHECK(copy[capacity] == u'#');
    AppendWide(copy.data(), capacity, text.data());
    FUZZ_CHECK(copy[capacity] == u'#');
    char narrow[kNarrowCapacity];
    ToNarrow(narrow, text.data());
    FUZZ_CHECK(Terminated(narrow, sizeof narrow));
    std::vector<char> within(capacity + 1, '#');
    ToNarrowWithin(within.data(), capacity, text.data());
    if (capacity > 0) FUZZ_CHECK(Terminated(within.data(), capacity));
    FUZZ_CHECK(within[capacity] == '#');
}

void LaunchTexts(const Texts& t) {
    // The program folder as start-up forms it: at most 259 bytes, ending with a backslash.
    std::string folder = t.narrow.substr(0, 258) + "\\";
    const std::vector<char16_t> program = Exact(t.wide);
    const std::vector<char16_t> arguments = Exact(t.second);
    LaunchCommand command;
    const uint32_t refusal = BuildLaunchCommand(folder.c_str(), program.data(), arguments.data(), &command);
    FUZZ_CHECK(refusal == 0 || refusal == kErrorFilenameTooLong);
    FUZZ_CHECK(Terminated(command.fullPath, sizeof command.fullPath));
    FUZZ_CHECK(Terminated(command.workingFolder, sizeof command.workingFolder));
    FUZZ_CHECK(Terminated(command.commandLine, sizeof command.commandLine));
    char message[kLaunchMessageRoom];
    FormatLaunchFailure(message, command.fullPath, WordAt(t.bytes, 0), t.narrow.c_str());
    FUZZ_CHECK(Terminated(message, sizeof message));
}

void PointerAndTimes(const Texts& t) {
    const uint32_t raw = WordAt(t.bytes, 0);
    const Point p = PointerPosition(static_cast<intptr_t>(static_cast<int32_t>(raw)));
    FUZZ_CHECK(p.x >= -32768 && p.x <= 32767 && p.y >= -32768 && p.y <= 32767);
    FUZZ_CHECK(CloseWaitRemaining(WordAt(t.bytes, 4), WordAt(t.bytes, 8)) >= 0);
}

using Parser = void (*)(const Texts&);
const Parser kParsers[] = {FormattedInputWithAnyPattern, RectanglesSizesAndNumbers, Colours, Fonts,
                           LaunchConditions, SwitchScan, LanguageNamesAndTags, WideTextHelpers,
                           LaunchTexts, PointerAndTimes};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Parser parse = kParsers[data[0] % (sizeof kParsers / sizeof kParsers[0])];
    parse(Split(data + 1, size - 1));
    return 0;
}
