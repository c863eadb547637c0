#pragma once
// The decisions of start-up, on plain values.

#include <cstdint>

#include "config/ini_reader.h"
#include "platform/types.h"

// "-s" or "/s" (either case) anywhere in the argument text selects the
// unattended mode.
bool HasUnattendedSwitch(const char* argumentText);

// Cuts a narrow path just after its last backslash character; false, with
// the path unchanged, when it holds none.
bool CutAfterLastBackslash(char* path);

// Only this answer of the device installer means installations are pending.
constexpr uint32_t kInstallationsPendingResult = 258;  // WAIT_TIMEOUT

// The two background names of section General; BitmapFile016 defaults to
// the BitmapFile256 value.
struct BitmapNames {
    char16_t name256[kIniValueCapacity];
    char16_t name016[kIniValueCapacity];
};
BitmapNames ReadBitmapNames(UnicodeIniReader& reader);

// The name that suits a display of `displayColors` colours (-1: more than
// 256), or null when there is none.
const char16_t* ChooseBitmapName(const BitmapNames& names, int32_t displayColors);

// Free space kept inside the work area, from its right and bottom edges.
constexpr int32_t kWorkAreaMargin = 20;

// The scale that fits a menu of `appSize` ("%d,%d") into the work area less
// its margin: min(current, the ratio of each dimension that does not fit).
// The menu shrinks to fit and never grows.
float ComputeScale(float current, const Rect& workArea, const char16_t* appSize);
