#pragma once
// The classification of the running operating system into the menu model's
// osKind and osVersion, and the conditions under which a button's
// preparatory program runs.

#include <cstddef>
#include <cstdint>

// osKind values. 2 is never produced.
constexpr int32_t kOsUnknown = 0;       // NT family whose product type is unreadable
constexpr int32_t kOs9x = 1;            // not the NT family
constexpr int32_t kOsPersonal = 3;      // NT, product type "personal"
constexpr int32_t kOsProfessional = 4;  // NT, any other product type
constexpr int32_t kOsServer = 5;        // NT, product type "servernt" or "lanmannt"

constexpr uint32_t kPlatformNt = 2;
constexpr const char* kProductOptionsKey = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr const char* kProductTypeValue = "ProductType";
constexpr uint32_t kProductTypeCapacity = 1024;

// What the system said about itself.
struct SystemFacts {
    bool versionRead;
    uint32_t platformId;
    uint32_t major;
    uint32_t minor;
    bool productTypeRead;     // asked of the NT family only
    const char* productType;  // the value's bytes
    size_t productTypeSize;
};

// Sets osKind, and osVersion unless the NT product type is unreadable.
void ClassifySystem(const SystemFacts& facts, int32_t* osKind, int32_t* osVersion);

// A version field: leading white space, an optional sign, decimal digits up to
// the first other character; 0 without digits. Wraps around past 32 bits.
int32_t ReadConditionInteger(const char* text);

// The three comma-separated fields of a condition, not trimmed.
struct ConditionFields {
    char osWord[256];
    char minimum[256];
    char maximum[256];
};
void SplitCondition(const char* condition, ConditionFields* fields);

// True when the condition forbids running on a system of that kind and
// version (as ClassifyOperatingSystem sets them).
bool ConditionBlocks(int32_t osKind, int32_t osVersion, const char* osWord, const char* minimum, const char* maximum);

// True when the button's preparatory program is to be started now.
bool PreRunAllowed(int32_t buttonIndex);
