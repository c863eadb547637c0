#pragma once
// Loads an install.ini text into the process's reader and starts the menu
// model and the platform stand-in afresh, as at program start.

#include <gtest/gtest.h>

#include <string>

#include "config/ini_reader.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "ini_fixture.h"
#include "render/fonts.h"
#include "support/expect_calls.h"

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        iniReader.Clear();
        menu = Menu{};
        ResetPlatformDouble();
        menu.bitmapSize = Size{640, 480};
    }
    void TearDown() override { iniReader.Clear(); }

    void UseIni(const std::u16string& text) {
        iniReader.Clear();
        const std::string path = files.WriteIni(text);
        ASSERT_TRUE(iniReader.Load(path.c_str()));
    }

    // One loader run in the language tag, then the font step, as the
    // loader's callers run them; returns the loader's result.
    int32_t Load(const char16_t* tag = u"0x09", const Rect& frame = Rect{}) {
        char16_t buffer[kLanguageTagCapacity];
        std::char_traits<char16_t>::copy(buffer, tag, std::char_traits<char16_t>::length(tag) + 1);
        lastTag = buffer;
        const int32_t result = LoadMenuConfiguration(buffer, frame);
        MakeRequestedFonts();
        lastTag = buffer;
        return result;
    }

    IniFixture files;
    std::u16string lastTag;  // the tag buffer after the last run
};

inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}
inline bool operator==(const ColorTriple& a, const ColorTriple& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline std::ostream& operator<<(std::ostream& out, const ColorTriple& c) {
    return out << c.red << "," << c.green << "," << c.blue;
}
