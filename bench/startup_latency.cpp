// Start-up latency: from CreateProcess to the first complete paint on the
// screen, for tessaline.exe against bare_window.exe, a program that only
// registers a class and paints one colour, in windows of the same place and
// size, and against the same bare program carrying tessaline's manifest.
// The runs alternate between the three. Four discs: the sample disc, the
// same offering one language, and discs whose 1920x1080 and 3840x2160
// pictures are resampled to fit the screen.
//   startup_latency [RUNS [DISC]]   (tessaline.exe and bare_window.exe beside it)
//   startup_latency --profile RUNS
//   startup_latency --write-discs FOLDER
// DISC, a folder with install.ini and its pictures, is measured instead of
// those ("startup-disc"). Prints, per disc, the medians as
// "<case>: tessaline=<ms> ms bare=<ms> ms ratio=<r>", and the peak working
// set of either program. --profile runs the measuring build
// tessaline_marked.exe in the menu's place on the four discs, alternately
// with the bare program, and prints when each step of its start-up began and
// ended ("<case>-profile: <step> enter=<ms> leave=<ms> spent=<ms>"), and
// each step's calls together ("<case>-profile-total: <step> spent=<ms>").
// --write-discs writes the four discs, without the menu, into sub-folders of
// FOLDER named after their cases, for tools that look at what the menu does
// with them.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "config/ini_reader.h"
#include "config/ini_values.h"
#include "config/menu_model.h"
#include "pictures.h"
#include "render/menu_painting.h"
#include "support/fixture_bytes.h"
#include "support/process_window.h"
#include "support/temp_folder.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr const char* kBareClass = "Tessaline bare window";
constexpr COLORREF kBareColour = 0x00336699;
constexpr DWORD kTimeLimitMs = 30000;
constexpr int kWarmUpRuns = 3;
// Each look at the screen goes through the window system's server, which the
// measured program needs too: often enough to resolve a few milliseconds, not
// so often as to slow it down.
constexpr DWORD kPollMs = 2;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND ProcessWindow(DWORD processId, const char* className) {
    return process_window::VisibleWindowOf(processId, className);
}

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

struct Run {
    double started = 0;  // Now() as the process was created
    double milliseconds = 0;
    size_t peakWorkingSet = 0;
    RECT windowRect{};
};

// What the program to start shows once it has painted: a window of the class
// and, at `probe`, the colour `expected`.
struct Program {
    std::string commandLine;
    std::string folder;
    const char* className;
    POINT probe;
    COLORREF expected;
    UINT closeMessage;
};

// Starts the program, waits for its first complete paint, notes the time and
// the peak working set, and closes it. With `learn`, the window's rectangle
// is taken as found and the probe is its bottom-right pixel.
Run Measure(Program& program, bool learn) {
    // The previous window must be gone from the probe point first.
    if (!learn) {
        const double since = Now();
        while (ScreenPixel(program.probe) == program.expected && Now() - since < 2000) Sleep(10);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = program.commandLine;
    Run run;
    const double start = Now();
    run.started = start;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, program.folder.c_str(),
                        &startup, &process)) {
        throw std::runtime_error("cannot start " + program.commandLine);
    }
    HWND window = nullptr;
    for (;;) {
        if (window == nullptr) {
            window = ProcessWindow(process.dwProcessId, program.className);
            if (window != nullptr && learn) {
                GetWindowRect(window, &run.windowRect);
                program.probe = POINT{run.windowRect.right - 1, run.windowRect.bottom - 1};
            }
        }
        if (window != nullptr && ScreenPixel(program.probe) == program.expected) break;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || Now() - start > kTimeLimitMs) {
            TerminateProcess(process.hProcess, 1);
            throw std::runtime_error("no paint from " + program.commandLine);
        }
        Sleep(kPollMs);
    }
    run.milliseconds = Now() - start;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) run.peakWorkingSet = memory.PeakWorkingSetSize;
    PostMessageA(window, program.closeMessage, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The dark edge colour of the disc's window, its last pixel painted.
COLORREF EdgeDarkColour(const std::string& iniPath) {
    UnicodeIniReader reader;
    if (!reader.Load(iniPath.c_str())) throw std::runtime_error(iniPath + " did not load");
    char16_t edge[kIniValueCapacity];
    reader.GetString(u"General", u"Edge", u"", edge);
    if (edge[0] == 0) throw std::runtime_error(iniPath + " has no Edge: its last paint has no known colour");
    ColorTriple colour{};
    ReadColor(edge, &colour);
    return BevelDark(ToColorValue(colour));
}

// A disc designed for a 1920x1080 screen (`times` 1) or, every coordinate
// and font height doubled, for a 3840x2160 one (`times` 2): on a smaller
// screen its picture is resampled before the window opens.
std::u16string DiscIni(int times) {
    // Coordinate values: every number times `times`; font values: the height.
    const auto scaled = [times](const char16_t* text) {
        const std::u16string line(text);
        const size_t equals = line.find(u'=');
        if (equals == std::u16string::npos) return line;
        const std::u16string key = line.substr(0, equals);
        const bool coordinates = key == u"AppSize" || key == u"BitmapRect" || key == u"ButtonPaneRect" ||
                                 key == u"HelpRect" || key == u"BtnRect" || key == u"Position";
        const bool font = key == u"BtnFont" || key == u"HelpFont" || key == u"Font";
        std::u16string out = line.substr(0, equals + 1);
        size_t at = equals + 1;
        for (int index = 0; at <= line.size(); ++index) {
            const size_t comma = std::min(line.find(u',', at), line.size());
            std::u16string item = line.substr(at, comma - at);
            const bool number = !item.empty() && std::all_of(item.begin(), item.end(), [](char16_t c) {
                return c >= u'0' && c <= u'9';
            });
            if ((coordinates || (font && index == 0)) && number) {
                int value = 0;
                for (char16_t c : item) value = value * 10 + (c - u'0');
                item.clear();
                for (char c : std::to_string(value * times)) item += static_cast<char16_t>(c);
            }
            out += item;
            if (comma < line.size()) out += u',';
            at = comma + 1;
        }
        return out;
    };
    std::u16string t;
    for (const char16_t* text : {
             u"[General]", u"AppSize=1920,1080", u"BitmapFile256=background.bmp", u"BitmapRect=0,0,1920,1080",
             u"BackColor=12,24,60", u"ButtonPaneRect=72,336,792,1200,3d", u"ButtonPaneColor=40,44,54",
             u"HelpRect=900,930,1818,1176", u"BtnFont=54,700,0,0,Tahoma", u"HelpFont=42,400,0,0,Tahoma",
             u"BtnColorBk=36,38,46", u"BtnColorHi=255,214,90", u"BtnColorLo=200,204,214", u"HelpColor=220,224,232",
             u"Edge=250,190,40", u"ButtonCount=4", u"LanguageCount=1", u"[Languages]", u"language1=0x09,0",
             u"[Prompt-0x09]", u"AppName=Full HD disc", u"DefHelp=Choose an entry on the left.",
             u"Font=39,400,0,0,Tahoma", u"[Copyright-0x09]", u"Name=Copyright (C) 2024 Example Software.",
             u"Position=72,1344", u"[Button1-0x09]", u"Name=Install", u"Help=Installs the program.",
             u"BtnRect=120,396,744,492", u"Path=setup.exe", u"[Button2-0x09]", u"Name=Read me",
             u"Help=Opens the notes.", u"BtnRect=120,540,744,636", u"Path=readme.txt", u"[Button3-0x09]",
             u"Name=Browse", u"Help=Opens the disc's folder.", u"BtnRect=120,684,744,780", u"Path=.",
             u"[Button4-0x09]", u"Name=Exit", u"Help=Closes this menu.", u"BtnRect=120,1044,744,1140",
             u"Exit=true"}) {
        t += scaled(text) + u"\r\n";
    }
    return t;
}

// Times of one program over the runs, and its largest peak working set.
struct Series {
    std::vector<double> milliseconds;
    size_t peakWorkingSet = 0;

    void Add(const Run& run) {
        milliseconds.push_back(run.milliseconds);
        peakWorkingSet = std::max(peakWorkingSet, run.peakWorkingSet);
    }
};

std::string ReadWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw std::runtime_error("cannot read " + path);
    std::string bytes;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

struct Outcome {
    Series menu;
    Series bare;
    // The bare program again, carrying the menu's application manifest: what
    // the system does for the manifest alone, before the program runs.
    Series bareWithManifest;
};

// The menu started from its disc and the bare program over the same
// rectangle, each run unmeasured first to warm the caches; the menu's first
// run learns the window's place.
struct Contenders {
    Program menu;
    Program bare;
    std::string geometry;  // the bare program's arguments: that rectangle and its colour
};

Contenders WarmedUp(const std::string& disc, COLORREF edge) {
    Program menuProgram{"\"" + disc + "tessaline.exe\"", disc, kMenuClass, POINT{0, 0}, edge, WM_USER};
    const RECT r = Measure(menuProgram, true).windowRect;
    for (int k = 0; k < kWarmUpRuns - 1; ++k) Measure(menuProgram, false);
    char geometry[96];
    std::snprintf(geometry, sizeof geometry, " %ld %ld %ld %ld %08lx", r.left, r.top, r.right - r.left,
                  r.bottom - r.top, static_cast<unsigned long>(kBareColour));
    Program bareProgram{"\"" + OwnFolder() + "bare_window.exe\"" + geometry, disc, kBareClass, menuProgram.probe,
                        kBareColour, WM_CLOSE};
    for (int k = 0; k < kWarmUpRuns; ++k) Measure(bareProgram, false);
    return Contenders{menuProgram, bareProgram, geometry};
}

Outcome Compare(const std::string& disc, COLORREF edge, int runs) {
    Contenders contenders = WarmedUp(disc, edge);
    Program& menuProgram = contenders.menu;
    Program& bareProgram = contenders.bare;
    Program manifestProgram = bareProgram;
    manifestProgram.commandLine = "\"" + OwnFolder() + "bare_window_manifest.exe\"" + contenders.geometry;
    for (int k = 0; k < kWarmUpRuns; ++k) Measure(manifestProgram, false);

    Outcome outcome;
    for (int k = 0; k < runs; ++k) {
        outcome.menu.Add(Measure(menuProgram, false));
        outcome.bare.Add(Measure(bareProgram, false));
        outcome.bareWithManifest.Add(Measure(manifestProgram, false));
    }
    return outcome;
}

void PrintRuns(const char* name, const char* program, const Series& series) {
    std::printf("# %s runs of %s (ms):", name, program);
    for (double ms : series.milliseconds) std::printf(" %.1f", ms);
    std::printf("\n");
}

void Report(const char* name, const Outcome& outcome) {
    PrintRuns(name, "tessaline", outcome.menu);
    PrintRuns(name, "bare", outcome.bare);
    PrintRuns(name, "bare with manifest", outcome.bareWithManifest);
    const double menu = Median(outcome.menu.milliseconds);
    const double bare = Median(outcome.bare.milliseconds);
    const double manifest = Median(outcome.bareWithManifest.milliseconds);
    std::printf("# %s: bare with tessaline's manifest=%.1f ms, tessaline/that=%.3f\n", name, manifest,
                menu / manifest);
    std::printf("%s: tessaline=%.1f ms bare=%.1f ms ratio=%.3f\n", name, menu, bare, menu / bare);
    std::printf("%s-peak-working-set: tessaline=%zu KB bare=%zu KB\n", name, outcome.menu.peakWorkingSet / 1024,
                outcome.bare.peakWorkingSet / 1024);
    std::fflush(stdout);
}

// The marks of one run of tessaline_marked.exe (startup_marks.cpp), in
// milliseconds since its process was created, keyed by step and, from the
// second call of a step on, the call's number.
struct Mark {
    std::string key;
    int depth;
    double enter;
    double leave;
};

std::vector<Mark> ReadMarks(const std::string& path, double started) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) throw std::runtime_error("no marks in " + path);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<Mark> marks;
    std::vector<size_t> open;
    std::vector<std::pair<std::string, int>> calls;
    char side[8];
    char step[64];
    long long counter = 0;
    while (std::fscanf(file, "%7s %63s %lld", side, step, &counter) == 3) {
        const double at = 1000.0 * static_cast<double>(counter) / static_cast<double>(frequency.QuadPart) - started;
        if (std::string(side) == "enter") {
            auto call = std::find_if(calls.begin(), calls.end(), [&](const auto& c) { return c.first == step; });
            if (call == calls.end()) call = calls.insert(calls.end(), {step, 0});
            const int number = ++call->second;
            marks.push_back(Mark{std::string(step) + (number > 1 ? "#" + std::to_string(number) : ""),
                                 static_cast<int>(open.size()), at, at});
            open.push_back(marks.size() - 1);
        } else if (!open.empty()) {
            marks[open.back()].leave = at;
            open.pop_back();
        }
    }
    std::fclose(file);
    std::remove(path.c_str());
    return marks;
}

// Runs tessaline_marked.exe, in the menu's place, alternately with the bare
// program, and prints for each step the medians of when it was entered and
// left and of how long it took, beside the medians of both programs' times
// to their first paint.
void Profile(const std::string& name, const std::string& disc, COLORREF edge, int runs) {
    const std::string marksPath = disc + "marks.txt";
    SetEnvironmentVariableA("TESSALINE_MARKS", marksPath.c_str());
    Contenders contenders = WarmedUp(disc, edge);
    Program& menuProgram = contenders.menu;
    Program& bareProgram = contenders.bare;
    std::remove(marksPath.c_str());

    std::vector<Mark> steps;  // as the first run met them
    std::vector<std::vector<double>> enters, leaves, spent;
    // Each step's calls together: their number and time in each run.
    std::vector<std::string> names;
    std::vector<std::vector<double>> totals, counts;
    Series menu, bare;
    for (int k = 0; k < runs; ++k) {
        const Run run = Measure(menuProgram, false);
        menu.Add(run);
        const std::vector<Mark> marks = ReadMarks(marksPath, run.started);
        std::vector<double> total(names.size(), 0.0), count(names.size(), 0.0);
        for (const Mark& mark : marks) {
            const std::string name = mark.key.substr(0, mark.key.find('#'));
            auto known = std::find(names.begin(), names.end(), name);
            if (known == names.end()) {
                known = names.insert(names.end(), name);
                totals.emplace_back();
                counts.emplace_back();
                total.push_back(0.0);
                count.push_back(0.0);
            }
            const size_t at = static_cast<size_t>(known - names.begin());
            total[at] += mark.leave - mark.enter;
            count[at] += 1.0;
        }
        for (size_t n = 0; n < names.size(); ++n) {
            totals[n].push_back(total[n]);
            counts[n].push_back(count[n]);
        }
        for (const Mark& mark : marks) {
            auto known = std::find_if(steps.begin(), steps.end(), [&](const Mark& m) { return m.key == mark.key; });
            if (known == steps.end()) {
                known = steps.insert(steps.end(), mark);
                enters.emplace_back();
                leaves.emplace_back();
                spent.emplace_back();
            }
            const size_t at = static_cast<size_t>(known - steps.begin());
            enters[at].push_back(mark.enter);
            leaves[at].push_back(mark.leave);
            spent[at].push_back(mark.leave - mark.enter);
        }
        bare.Add(Measure(bareProgram, false));
    }
    SetEnvironmentVariableA("TESSALINE_MARKS", nullptr);
    std::printf("# %s profile: medians over %d runs, in ms since the process was created\n", name.c_str(), runs);
    for (size_t k = 0; k < steps.size(); ++k) {
        // Steps called many times (a text drawn, a font made) show in the totals only.
        const size_t hash = steps[k].key.find('#');
        if (hash != std::string::npos && std::atoi(steps[k].key.c_str() + hash + 1) > 3) continue;
        std::printf("%s-profile: %*s%s enter=%.2f leave=%.2f spent=%.2f calls=%zu\n", name.c_str(),
                    2 * steps[k].depth, "", steps[k].key.c_str(), Median(enters[k]), Median(leaves[k]),
                    Median(spent[k]), spent[k].size());
    }
    for (size_t n = 0; n < names.size(); ++n) {
        std::printf("%s-profile-total: %s spent=%.2f calls=%.0f\n", name.c_str(), names[n].c_str(),
                    Median(totals[n]), Median(counts[n]));
    }
    std::printf("%s-profile: painted: tessaline=%.1f ms bare=%.1f ms\n", name.c_str(), Median(menu.milliseconds),
                Median(bare.milliseconds));
    std::fflush(stdout);
}

// A disc to measure: its files (install.ini, its pictures, a document) by
// name, tessaline.exe aside.
struct Disc {
    std::string name;
    std::vector<std::pair<std::string, std::string>> files;
};

// The sample disc, the same offering its first language only, and discs
// whose 1920x1080 and 3840x2160 pictures are resampled.
std::vector<Disc> MeasuredDiscs() {
    const std::string sampleDisc = std::string("Z:") + TESSALINE_SAMPLE_DISC + "/";
    std::vector<Disc> discs;
    Disc sample{"startup", {}};
    for (const char* file : {"install.ini", "background.bmp", "readme.txt"}) {
        sample.files.emplace_back(file, ReadWholeFile(sampleDisc + file));
    }
    discs.push_back(sample);
    // Without a language list, whose common control the manifest's version
    // loads, the menu's own work stands out.
    std::string& ini = sample.files[0].second;
    const std::string three = fixture::Utf16Le(u"LanguageCount=3", false);
    const size_t at = ini.find(three);
    if (at != std::string::npos) {
        ini.replace(at, three.size(), fixture::Utf16Le(u"LanguageCount=1", false));
        sample.name = "startup-one-language";
        discs.push_back(sample);
    }
    discs.push_back(Disc{"startup-resampled",
                         {{"install.ini", fixture::Utf16Le(DiscIni(1))},
                          {"background.bmp", bench::MakePicture(1920, 1080, 8).FileBytes()}}});
    discs.push_back(Disc{"startup-4k",
                         {{"install.ini", fixture::Utf16Le(DiscIni(2))},
                          {"background.bmp", bench::MakePicture(3840, 2160, 8).FileBytes()}}});
    return discs;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr) std::fclose(file);
    if (!written) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::string(argv[1]) == "--write-discs") {
            for (const Disc& disc : MeasuredDiscs()) {
                const std::string folder = std::string(argv[2]) + "\\" + disc.name;
                CreateDirectoryA(folder.c_str(), nullptr);
                for (const auto& file : disc.files) WriteWholeFile(folder + "\\" + file.first, file.second);
            }
            return 0;
        }
        const std::string own = OwnFolder();
        if (argc == 3 && std::string(argv[1]) == "--profile") {
            const int runs = std::max(1, std::atoi(argv[2]));
            for (const Disc& measured : MeasuredDiscs()) {
                TempFolder disc;
                for (const auto& file : measured.files) disc.Write(file.first, file.second);
                disc.CopyIn(own + "tessaline_marked.exe", "tessaline.exe");
                Profile(measured.name, disc.Path(), EdgeDarkColour(disc.Path() + "install.ini"), runs);
            }
            return 0;
        }
        const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
        if (argc > 2) {
            TempFolder disc;
            WIN32_FIND_DATAA entry;
            const std::string from = std::string(argv[2]) + "\\";
            HANDLE find = FindFirstFileA((from + "*").c_str(), &entry);
            if (find == INVALID_HANDLE_VALUE) throw std::runtime_error("no disc at " + from);
            do {
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    disc.CopyIn(from + entry.cFileName, entry.cFileName);
                }
            } while (FindNextFileA(find, &entry));
            FindClose(find);
            disc.CopyIn(own + "tessaline.exe", "tessaline.exe");
            Report("startup-disc", Compare(disc.Path(), EdgeDarkColour(disc.Path() + "install.ini"), runs));
            return 0;
        }
        for (const Disc& measured : MeasuredDiscs()) {
            TempFolder disc;
            for (const auto& file : measured.files) disc.Write(file.first, file.second);
            disc.CopyIn(own + "tessaline.exe", "tessaline.exe");
            Report(measured.name.c_str(), Compare(disc.Path(), EdgeDarkColour(disc.Path() + "install.ini"), runs));
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "startup_latency: %s\n", failure.what());
        return 1;
    }
    return 0;
}
