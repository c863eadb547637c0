// The operating-system classification through the real version query and
// registry, in a child program for each case: Wine answers the version query
// from its per-program setting, which a process reads when it starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

constexpr const char* kProductOptions = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";

// Wine's version setting for one program, for the life of the object.
class WineVersionFor {
public:
    WineVersionFor(const std::string& program, const char* version)
        : key("Software\\Wine\\AppDefaults\\" + program) {
        HKEY handle;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) ==
            ERROR_SUCCESS) {
            RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                           lstrlenA(version) + 1);
            RegCloseKey(handle);
        }
    }
    ~WineVersionFor() { RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()); }
    WineVersionFor(const WineVersionFor&) = delete;
    WineVersionFor& operator=(const WineVersionFor&) = delete;

private:
    std::string key;
};

// The machine's ProductType value replaced (or removed) for the life of the
// object, and put back afterwards.
class ProductType {
public:
    ProductType() {
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductOptions, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
        DWORD size = 0;
        if (RegQueryValueExA(key, "ProductType", nullptr, &savedType, nullptr, &size) == ERROR_SUCCESS) {
            saved.resize(size);
            RegQueryValueExA(key, "ProductType", nullptr, &savedType, saved.data(), &size);
            hadValue = true;
        }
    }
    ~ProductType() {
        if (hadValue) {
            RegSetValueExA(key, "ProductType", 0, savedType, saved.data(), static_cast<DWORD>(saved.size()));
        } else {
            RegDeleteValueA(key, "ProductType");
        }
        RegCloseKey(key);
    }
    ProductType(const ProductType&) = delete;
    ProductType& operator=(const ProductType&) = delete;

    void Set(DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(key, "ProductType", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    void Remove() { RegDeleteValueA(key, "ProductType"); }

private:
    HKEY key = nullptr;
    bool hadValue = false;
    DWORD savedType = REG_SZ;
    std::vector<BYTE> saved;
};

// Runs the probe and returns what it wrote: "<osKind> <osVersion>".
std::string Classify(const char* probe) {
    TempFolder folder;
    const std::string out = folder.Path() + "result.txt";
    std::string commandLine = "\"" + OwnFolder() + probe + "\" \"" + out + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return "<cannot start " + std::string(probe) + ">";
    }
    WaitForSingleObject(info.hProcess, 20000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    HANDLE file = CreateFileA(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<no result>";
    char text[64] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    return text;
}

constexpr const char* kProbe = "classify_probe.exe";
constexpr const char* kBareProbe = "classify_probe_bare.exe";

TEST(Classification, TheVersionComesFromTheSystem) {
    ProductType productType;
    productType.Set(REG_SZ, std::string("WinNT", 6));
    const struct {
        const char* wineVersion;
        const char* result;
    } cases[] = {
        {"win7", "4 601"},  {"winxp", "4 501"}, {"win2k", "4 500"}, {"win2003", "4 502"},
        {"nt40", "4 400"},  {"win98", "1 410"}, {"win95", "1 400"}, {"win81", "4 603"},
        {"win10", "4 1000"},
    };
    for (const auto& c : cases) {
        WineVersionFor version(kProbe, c.wineVersion);
        EXPECT_EQ(Classify(kProbe), c.result) << c.wineVersion;
    }
}

TEST(Classification, WithoutTheManifestNewerSystemsPassForWindows8) {
    // What the menu's manifest prevents: the version query of a program that
    // does not declare the newer systems stops at 6.2.
    WineVersionFor version(kBareProbe, "win10");
    EXPECT_EQ(Classify(kBareProbe), "4 602");
}

TEST(Classification, TheProductTypeDecidesTheKind) {
    WineVersionFor version(kProbe, "winxp");
    ProductType productType;
    const struct {
        DWORD type;
        std::string bytes;
        const char* result;
    } cases[] = {
        {REG_SZ, std::string("servernt", 9), "5 501"},
        {REG_SZ, std::string("lanmannt", 9), "5 501"},
        {REG_SZ, std::string("personal", 9), "3 501"},
        {REG_SZ, std::string("ServerNT", 9), "4 501"},
        {REG_SZ, std::string("LanmanNT", 9), "4 501"},
        {REG_SZ, std::string("WinNT", 6), "4 501"},
        {REG_SZ, std::string("", 1), "4 501"},
        // Stored without a terminator, the bytes are the whole text.
        {REG_BINARY, std::string("servernt", 8), "5 501"},
        // Longer than the 1024-byte buffer: unreadable.
        {REG_SZ, std::string(1100, 'x') + '\0', "0 0"},
    };
    for (const auto& c : cases) {
        productType.Set(c.type, c.bytes);
        EXPECT_EQ(Classify(kProbe), c.result) << c.bytes.substr(0, 16);
    }
}

TEST(Classification, AnNtSystemWithoutAProductTypeIsUnknown) {
    WineVersionFor version(kProbe, "win7");
    ProductType productType;
    productType.Remove();
    EXPECT_EQ(Classify(kProbe), "0 0");
}

}  // namespace
