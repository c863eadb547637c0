// The INI reader and the configuration pass on an install.ini of twelve
// buttons in ten languages. On Windows the platform is the real one (fonts
// included); on the host a recording stand-in answers for it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/startup_rules.h"
#include "config/ini_reader.h"
#include "app/language_list.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "config/wide_text.h"
#include "install_ini.h"
#include "render/fonts.h"
#ifndef _WIN32
#include "support/platform_double.h"
#endif

namespace {

constexpr const char* kPath = "bench-install.ini";

bool WriteFile(const char* path, const std::string& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// The model as start-up leaves it just before the configuration is read.
void FreshMenu() {
    menu = Menu{};
    menu.bitmapSize = Size{800, 600};
    std::snprintf(menu.iniPath, sizeof menu.iniPath, "%s", kPath);
}

void Load(benchmark::State& state) {
    for (auto _ : state) {
        iniReader.Clear();
        benchmark::DoNotOptimize(iniReader.Load(kPath));
    }
}

// The reader afresh with the benchmark's install.ini; false, the case
// skipped, when it cannot be read.
bool LoadIni(benchmark::State& state, const char* path) {
    iniReader.Clear();
    if (iniReader.Load(path)) return true;
    state.SkipWithError("install.ini did not load");
    return false;
}

// Every key of every button of one language, section by section, as the
// loader asks for them: the section's header is searched once per button.
void ButtonLookups(benchmark::State& state) {
    if (!LoadIni(state, kPath)) return;
    const char16_t* keys[] = {u"Name", u"Help",   u"BtnRect", u"Path",    u"Args",
                              u"PreRun", u"PreArgs", u"PreCond", u"Exit"};
    std::u16string sections[12];
    for (int n = 0; n < 12; ++n) sections[n] = u"Button" + bench::Number(n + 1) + u"-0x19";
    char16_t value[kIniValueCapacity];
    for (auto _ : state) {
        for (const std::u16string& section : sections) {
            for (const char16_t* key : keys) iniReader.GetString(section.c_str(), key, u"", value);
        }
        benchmark::DoNotOptimize(value);
    }
}

// One lookup in the last section of the file: the whole text is searched for
// its header each time, as when lookups alternate between sections.
void UncachedLookup(benchmark::State& state) {
    if (!LoadIni(state, kPath)) return;
    char16_t value[kIniValueCapacity];
    bool flip = false;
    for (auto _ : state) {
        iniReader.GetString(flip ? u"Button12-0x19" : u"General", u"Exit", u"", value);
        flip = !flip;
        benchmark::DoNotOptimize(value);
    }
}

// The stand-in's record of the calls of one run, which would grow with every run.
void ForgetCalls() {
#ifndef _WIN32
    fake.calls.clear();
#endif
}

// One run of the configuration loader, as a change of language makes it.
void Loader(benchmark::State& state) {
    if (!LoadIni(state, kPath)) return;
    FreshMenu();
    for (auto _ : state) {
        char16_t tag[kLanguageTagCapacity];
        CopyWide(tag, u"0x09");
        benchmark::DoNotOptimize(LoadMenuConfiguration(tag));
        MakeRequestedFonts();
        ForgetCalls();
    }
}

// Everything start-up does with install.ini: load it, read the bitmap names,
// run the loader and check the default language, which runs it again.
void StartupPass(benchmark::State& state) {
    for (auto _ : state) {
        FreshMenu();
        if (!LoadIni(state, menu.iniPath)) break;
        const BitmapNames names = ReadBitmapNames(iniReader);
        benchmark::DoNotOptimize(names.name256);
        char16_t tag[kLanguageTagCapacity];
        CopyWide(tag, u"0x09");
        const int32_t loaded = LoadMenuConfiguration(tag);
        MakeRequestedFonts();
        if (loaded != 0 || !SelectLanguage(nullptr, menu.languageIndex, true)) {
            state.SkipWithError("the configuration did not load");
            break;
        }
        ForgetCalls();
    }
}

}  // namespace

BENCHMARK(Load)->Name("ini/load")->Unit(benchmark::kMicrosecond);
BENCHMARK(ButtonLookups)->Name("ini/button-lookups")->Unit(benchmark::kMicrosecond);
BENCHMARK(UncachedLookup)->Name("ini/uncached-lookup")->Unit(benchmark::kMicrosecond);
BENCHMARK(Loader)->Name("config/loader")->Unit(benchmark::kMicrosecond);
BENCHMARK(StartupPass)->Name("config/startup-pass")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (!WriteFile(kPath, bench::TwelveButtonsTenLanguages())) {
        std::fprintf(stderr, "cannot write %s\n", kPath);
        return 1;
    }
#ifndef _WIN32
    ResetPlatformDouble();
    // Every offered language is installed, as on a system set up for them.
    fake.installedLocales.clear();
    for (const char* locale : {"00000409", "00000407", "0000040c", "00000c0a", "00000410", "00000413", "00000416",
                               "00000411", "00000804", "00000419"}) {
        fake.installedLocales.push_back(locale);
    }
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    iniReader.Clear();
    std::remove(kPath);
    return 0;
}
