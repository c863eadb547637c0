#include "check/picture_findings.h"

#include <cstdint>
#include <set>
#include <string>

#include "app/startup_rules.h"
#include "check/bitmap_facts.h"
#include "check/ini_text.h"
#include "check/missing_file_hint.h"
#include "check/offline_menu.h"
#include "config/ini_reader.h"

namespace fs = std::filesystem;

namespace {

// The smallest scale over the screens given, and the screen that gives it.
float SmallestScale(const CheckContext& check, Size* screen) {
    char16_t appSize[kIniValueCapacity];
    iniReader.GetString(kGeneral, u"AppSize", u"0,0", appSize);
    float smallest = 1.0f;
    for (const Size& s : check.settings.screens) {
        const float scale = ScaleForScreen(s, appSize);
        if (scale < smallest ||
            (scale == smallest && s.width * int64_t{s.height} < screen->width * int64_t{screen->height})) {
            smallest = scale;
            *screen = s;
        }
    }
    return smallest;
}

void CheckPicture(CheckContext& check, const std::string& name, const std::string& key, int32_t line) {
    if (IsAbsoluteDiscPath(name)) {
        check.Error(line, key + " " + name + " is an absolute path: the picture is looked for on the user's system, "
                                             "not on the disc",
                    "name it relative to the disc's root");
        return;
    }
    const fs::path file = check.disc.Find(name);
    if (file.empty()) {
        if (!check.disc.AddedByBuild(name)) {
            check.Error(line, key + " names " + name + ", which is not on the disc",
                        MissingFileHint(check.disc, name, false));
        }
        return;
    }
    const BitmapFacts facts = ReadBitmapFacts(file);
    if (!facts.loadsAsIs) {
        check.Error(line,
                    name + " is not a Windows bitmap file: the menu stops with \"Couldn't read bit map file " + name +
                        "\"",
                    "save it as an uncompressed .bmp file");
        return;
    }
    if (check.bitmapSize.width == 0) check.bitmapSize = Size{facts.width, facts.height};
    Size screen{0, 0};
    const float scale = SmallestScale(check, &screen);
    const std::string shrinks = "on a " + std::to_string(screen.width) + "x" + std::to_string(screen.height) +
                                " screen the menu shrinks it (scale " + Decimal(scale) + ")";
    if (scale < 1.0f && !facts.readable) {
        check.Error(line,
                    name + " is not a whole Windows bitmap file, and " + shrinks +
                        ", which it only does with a whole file: it stops with \"Incorrect bitmap format\"",
                    "save it again as an uncompressed .bmp file");
    } else if (scale < 1.0f && !CanBeResampled(facts)) {
        check.Error(line,
                    name + " has " + std::to_string(facts.bitsPerPixel) + " bits per pixel, and " + shrinks +
                        ", which it can only do with 16- and 256-colour pictures: it stops with \"Incorrect bitmap "
                        "format\"",
                    "save the picture with 256 colours (8 bits per pixel), with ImageMagick for example: convert " +
                        name + " -colors 256 -compress none BMP3:" + name + " (or -colors 16)");
    }
}

}  // namespace

void CheckPictures(CheckContext& check) {
    const BitmapNames names = ReadBitmapNames(iniReader);
    const int32_t line256 = iniReader.KeyLine(kGeneral, u"BitmapFile256");
    const int32_t line016 = iniReader.KeyLine(kGeneral, u"BitmapFile016");
    std::set<std::string> examined;
    for (int32_t colors : {-1, 256}) {
        const char16_t* taken = ChooseBitmapName(names, colors);
        if (taken == nullptr) {
            check.Error(LineOr(check.generalLine, 1),
                        "neither BitmapFile256 nor BitmapFile016 names a picture: the menu stops with \"Neither "
                        "BitmapFile256 nor BitmapFile016 were found in the ini file.\"",
                        "name a .bmp file of the disc in BitmapFile256");
            return;
        }
        const bool is256 = taken == names.name256;
        const int32_t line = is256 ? line256 : LineOr(line016, line256);
        const std::string key = is256 ? "BitmapFile256" : "BitmapFile016";
        const std::string name = Narrow(taken);
        if (!examined.insert(name).second) continue;
        CheckPicture(check, name, key, line);
        if (!IsAbsoluteDiscPath(name)) check.needs.push_back(DiscNeed{taken, key + " ", kIniFileName, line});
    }
}
