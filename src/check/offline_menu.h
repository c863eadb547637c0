#pragma once
// The menu's start-up, run offline over a disc folder for a chosen system:
// the menu's own entry point and start-up sequence, with every answer of the
// system taken from the choice and every file from the disc.

#include <cstdint>
#include <string>
#include <vector>

#include "app/startup_rules.h"
#include "check/bitmap_facts.h"
#include "check/disc_files.h"
#include "launch/launch_conditions.h"
#include "platform/offline/offline_platform.h"
#include "platform/types.h"

// The system the menu is imagined on.
struct SystemChoice {
    int32_t osKind = kOsProfessional;
    int32_t osVersion = 601;
    uint16_t userLanguageId = 0x0409;
    Size screen{1024, 768};       // its work area is the whole screen
    int32_t displayColors = -1;   // -1: more than 256 colours
    bool everyLocaleInstalled = true;
    std::vector<uint16_t> installedLanguages;  // primary languages, when not every one
    // The folder the menu finds itself in, ending with a backslash: where
    // the disc is on that system.
    std::string programFolder = "D:\\";
};

// A fresh menu model and offline platform for the choice.
void UseSystem(const SystemChoice& choice, bool unattended);

struct StartupResult {
    bool runs = false;  // the window opens
    // The message boxes shown on the way, in order; the last one tells why
    // the menu stopped when it does not run.
    std::vector<platform::offline::ShownBox> boxes;
    BitmapNames names{};
    std::string bitmapName;  // the name taken, as the menu passes it on
    bool tookBitmapFile256 = false;
    BitmapFacts bitmap;
    float scale = 1.0f;
    Rect window{};  // where the window opens, and its size
    // What start-up took from the disc, in order: the program itself, which
    // the system maps to start it, when the disc holds it, then the files
    // the menu read and the picture the system's loader mapped.
    std::vector<platform::offline::FileRead> reads;
};

// install.ini of the disc, loaded into the menu's reader; false, with the
// reader's message in `failure`, when it cannot be.
bool LoadDiscIni(const DiscFolder& disc, std::string* failure);

// The start-up of the menu on the chosen system, started with the switch
// -s when unattended, up to its message loop (the creation message is not
// sent: in unattended mode the buttons then hold the silent keys).
StartupResult RunStartup(const DiscFolder& disc, const SystemChoice& choice, bool unattended);

// The start-up's scale for a screen of the given size and an AppSize value.
float ScaleForScreen(const Size& screen, const char16_t* appSize);
