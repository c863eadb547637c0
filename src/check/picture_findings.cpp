#include "check/picture_findings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/startup_rules.h"
#include "check/bitmap_facts.h"
#include "check/disc_speed.h"
#include "check/ini_text.h"
#include "check/missing_file_hint.h"
#include "check/offline_menu.h"
#include "check/rle8_encoding.h"
#include "config/ini_reader.h"
#include "render/bitmap_check.h"
#include "render/bitmap_decoding.h"

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

// A picture larger than this takes a disc long enough to read that a smaller
// file is worth a note.
constexpr uintmax_t kLargePicture = 2000000;

// A note for a large 256-colour picture that run-length encoding (RLE8)
// would make a quarter smaller or more: the system's loader decodes such a
// file, and so does the menu where it shrinks one, to the same picture. A
// deeper picture would need 256 colours first; the note leaves it alone.
void NoteRunLengthSaving(CheckContext& check, const fs::path& file, const std::string& name, int32_t line) {
    std::error_code error;
    const uintmax_t size = fs::file_size(file, error);
    if (error || size <= kLargePicture) return;
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DecodedBitmap decoded;
    if (!DecodeBitmapFile(bytes, &decoded) || decoded.bitsPerPixel != 8) return;
    // The stream holds the rows bottom-up, whichever way the file does.
    std::vector<uint8_t> rows(decoded.rows.size());
    for (int32_t y = 0; y < decoded.height; ++y) {
        const int32_t from = decoded.topDown ? decoded.height - 1 - y : y;
        std::copy_n(decoded.rows.begin() + static_cast<size_t>(from) * decoded.rowBytes, decoded.rowBytes,
                    rows.begin() + static_cast<size_t>(y) * decoded.rowBytes);
    }
    const uint64_t headers =
        PixelRowsOffset(bytes.data(), static_cast<uint32_t>(std::min<size_t>(bytes.size(), kBitmapHeadBytes)));
    const uint64_t encoded =
        headers + EncodeRle8(rows.data(), decoded.rowBytes, decoded.width, decoded.height).size();
    if (encoded > size / 4 * 3) return;
    const uint64_t saved = size - encoded;
    char time[32];
    std::snprintf(time, sizeof time, "%.0f ms", ReadMilliseconds(kDvd16x, saved, 0));
    check.Note(line,
               name + " is " + std::to_string(size) + " bytes; run-length encoded (RLE8), which the menu shows the "
                   "same, it would be " + std::to_string(encoded) +
                   " bytes: " + std::to_string(saved) + " fewer, which " + kDvd16x.name + " reads in " + time +
                   " less",
               "save it as an RLE8 .bmp file, with ImageMagick for example: convert " + name + " -compress RLE BMP3:" +
                   name);
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
    NoteRunLengthSaving(check, file, name, line);
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
