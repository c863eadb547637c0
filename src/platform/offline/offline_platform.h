#pragma once
// A platform layer for tools that run the menu's logic where no menu runs:
// every answer the logic asks of the system (its own file, version, work
// area, display colours, user language, installed locales, fonts, files and
// pictures) comes from settings that the tool chooses; windows exist only as
// their placement, and nothing is drawn; message boxes are kept for the tool
// to report. Text conversion stays the build's own.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/os_version.h"
#include "platform/types.h"

namespace platform {
namespace offline {

// A picture as the system's loader would deliver it.
struct Picture {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
};

struct Settings {
    // The program's own file, as the imagined system names it.
    std::string ownPath = "D:\\tessaline.exe";
    // What the system says of itself: no version when it does not answer,
    // and the NT product type when it can be read.
    bool versionKnown = true;
    SystemVersion version{2, 6, 1};
    bool productTypeKnown = true;
    std::string productType = "WinNT";
    Rect workArea{0, 0, 1024, 768};
    int32_t displayColors = -1;  // -1: more than 256 colours
    uint16_t userLanguageId = 0x0409;
    // Which primary languages (low 10 bits) have an installed locale: every
    // one, or those listed.
    bool everyLocaleInstalled = true;
    std::vector<uint16_t> installedLanguages;
    // Where a file that the logic opens lies on this machine, from its name
    // as the logic gives it; an empty path when it is nowhere. Unset: the
    // name is a path of this machine.
    std::function<std::filesystem::path(const char* name)> locateFile;
    // What the system's loader makes of a picture file; false when it loads
    // none. A picture the logic resamples it reads through the files.
    std::function<bool(const std::filesystem::path& file, Picture* picture)> readPicture;
};

struct ShownBox {
    std::string text;
    std::string title;
    uint32_t flags;
};

// A file the logic opened, or a picture the system's loader took.
struct FileRead {
    std::filesystem::path file;  // where it lies on this machine
    uint64_t bytes;              // read, or the whole file for the loader, which maps it
    uint32_t calls;              // reads, or 1 for the loader's mapping
    bool mapped;
};

// The settings that every answer comes from; a tool changes them between runs.
Settings& CurrentSettings();

// The message boxes the logic has shown, the top-level windows it has
// created (x, y, width and height) and the files it opened and read, since
// the last ForgetRecords.
const std::vector<ShownBox>& ShownBoxes();
const std::vector<Rect>& CreatedWindows();
const std::vector<FileRead>& FileReads();
void ForgetRecords();

// The description a font was created from; false for none.
bool DescriptionOf(Font font, FontDescription* description);

}  // namespace offline
}  // namespace platform
