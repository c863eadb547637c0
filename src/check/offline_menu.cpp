#include "check/offline_menu.h"

#include "app/entry.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"
#include "config/wide_text.h"
#include "platform/bitmap.h"
#include "platform/text.h"

namespace {

namespace offline = platform::offline;

// What the system says of itself where the menu classifies it as the
// choice's kind and version.
void DescribeSystem(const SystemChoice& choice, offline::Settings& settings) {
    settings.versionKnown = true;
    settings.version.platformId = choice.osKind == kOs9x ? 1 : kPlatformNt;
    // Major and minor give back the version whatever its sign: the
    // classification forms major * 100 + minor in 32 bits.
    settings.version.major = static_cast<uint32_t>(choice.osVersion / 100);
    settings.version.minor = static_cast<uint32_t>(choice.osVersion % 100);
    settings.productTypeKnown = choice.osKind != kOsUnknown;
    switch (choice.osKind) {
        case kOsPersonal: settings.productType = "personal"; break;
        case kOsServer: settings.productType = "servernt"; break;
        default: settings.productType = "WinNT"; break;
    }
}

// Where a file the menu opens lies: install.ini beside the program, on the
// disc; a picture relative to the current folder, which for a menu started
// from the disc is its root; a path elsewhere on the user's system, nowhere.
std::filesystem::path LocateOnDisc(const DiscFolder& disc, const std::string& programFolder, const char* name) {
    const std::string path = name;
    const std::string folder = path.substr(0, programFolder.size());
    if (folder.size() == programFolder.size() && EqualsFoldingAZ(folder.c_str(), programFolder.c_str())) {
        return disc.Find(path.substr(programFolder.size()));
    }
    return IsAbsoluteDiscPath(path) ? std::filesystem::path() : disc.Find(path);
}

// The system's loader takes any file with a bitmap's headers; whether the
// rows are whole is the menu's own check, made before it resamples.
bool ReadPicture(const std::filesystem::path& file, offline::Picture* picture) {
    const BitmapFacts facts = ReadBitmapFacts(file);
    *picture = offline::Picture{facts.width, facts.height, facts.bitsPerPixel};
    return facts.loadsAsIs;
}

}  // namespace

void UseSystem(const SystemChoice& choice, bool unattended) {
    offline::Settings& settings = offline::CurrentSettings();
    settings.ownPath = choice.programFolder + "tessaline.exe";
    DescribeSystem(choice, settings);
    settings.workArea = Rect{0, 0, choice.screen.width, choice.screen.height};
    settings.displayColors = choice.displayColors;
    settings.userLanguageId = choice.userLanguageId;
    settings.everyLocaleInstalled = choice.everyLocaleInstalled;
    settings.installedLanguages = choice.installedLanguages;
    offline::ForgetRecords();

    menu = Menu{};
    menu.unattended = unattended;
    menu.osKind = choice.osKind;
    menu.osVersion = choice.osVersion;
    const std::string iniPath = choice.programFolder + "install.ini";
    if (choice.programFolder.size() < sizeof menu.programFolder && iniPath.size() < sizeof menu.iniPath) {
        choice.programFolder.copy(menu.programFolder, choice.programFolder.size());
        iniPath.copy(menu.iniPath, iniPath.size());
    }
}

bool LoadDiscIni(const DiscFolder& disc, std::string* failure) {
    try {
        return iniReader.Load((disc.Root() / "install.ini").string().c_str());
    } catch (const IniLoadFailure& loadFailure) {
        *failure = loadFailure.what();
        return false;
    }
}

float ScaleForScreen(const Size& screen, const char16_t* appSize) {
    return ComputeScale(1.0f, Rect{0, 0, screen.width, screen.height}, appSize);
}

StartupResult RunStartup(const DiscFolder& disc, const SystemChoice& choice, bool unattended) {
    // A fresh read, even of a file read before: the reader then holds only
    // what this start-up read.
    iniReader.Clear();
    UseSystem(choice, unattended);
    offline::Settings& settings = offline::CurrentSettings();
    settings.locateFile = [&](const char* name) { return LocateOnDisc(disc, choice.programFolder, name); };
    settings.readPicture = ReadPicture;
    RunProgram(unattended ? "-s" : "");
    settings.locateFile = nullptr;

    StartupResult result;
    result.boxes = offline::ShownBoxes();
    const std::filesystem::path program = LocateOnDisc(disc, choice.programFolder, settings.ownPath.c_str());
    std::error_code error;
    if (!program.empty()) result.reads.push_back({program, std::filesystem::file_size(program, error), 1, true});
    result.reads.insert(result.reads.end(), offline::FileReads().begin(), offline::FileReads().end());
    if (!offline::CreatedWindows().empty()) {
        const Rect& placed = offline::CreatedWindows().back();
        result.runs = true;
        result.window = Rect{placed.left, placed.top, placed.left + placed.right, placed.top + placed.bottom};
    }
    result.scale = menu.scale;
    // The picture goes with the window the menu would destroy.
    if (menu.backgroundBitmap != nullptr) platform::ReleaseBitmap(menu.backgroundBitmap);
    menu.backgroundBitmap = nullptr;

    // The names as start-up took them, when it read the file.
    result.names = ReadBitmapNames(iniReader);
    const char16_t* taken = ChooseBitmapName(result.names, choice.displayColors);
    if (taken != nullptr) {
        result.tookBitmapFile256 = taken == result.names.name256;
        char narrow[kNarrowCapacity];
        result.bitmapName = ToNarrow(narrow, taken);
        const std::filesystem::path file = LocateOnDisc(disc, choice.programFolder, result.bitmapName.c_str());
        if (!file.empty()) result.bitmap = ReadBitmapFacts(file);
    }
    return result;
}
