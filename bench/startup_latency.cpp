// Start-up latency: from CreateProcess to the first complete paint on the
// screen, for tessaline.exe against bare_window.exe, a program that only
// registers a class and paints one colour, in windows of the same place and
// size, and against the same bare program carrying tessaline's manifest.
// The runs alternate between the three. Four discs: the sample disc, the
// same offering one language, and discs whose 1920x1080 and 3840x2160
// pictures are resampled to fit the screen.
//   startup_latency [RUNS [DISC]]   (tessaline.exe and bare_window.exe beside it)
// DISC, a folder with install.ini and its pictures, is measured instead of
// those ("startup-disc"). Prints, per disc, the medians as
// "<case>: tessaline=<ms> ms bare=<ms> ms ratio=<r>", and the peak working
// set of either program.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
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
    const double start = Now();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, program.folder.c_str(),
                        &startup, &process)) {
        throw std::runtime_error("cannot start " + program.commandLine);
    }
    Run run;
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

Outcome Compare(const std::string& disc, COLORREF edge, int runs) {
    Program menuProgram{"\"" + disc + "tessaline.exe\"", disc, kMenuClass, POINT{0, 0}, edge, WM_USER};
    // Unmeasured runs first, to warm the caches and to learn the window's place.
    const RECT r = Measure(menuProgram, true).windowRect;
    for (int k = 0; k < kWarmUpRuns - 1; ++k) Measure(menuProgram, false);
    char geometry[96];
    std::snprintf(geometry, sizeof geometry, " %ld %ld %ld %ld %08lx", r.left, r.top, r.right - r.left,
                  r.bottom - r.top, static_cast<unsigned long>(kBareColour));
    Program bareProgram{"\"" + OwnFolder() + "bare_window.exe\"" + geometry, disc, kBareClass, menuProgram.probe,
                        kBareColour, WM_CLOSE};
    Program manifestProgram = bareProgram;
    manifestProgram.commandLine = "\"" + OwnFolder() + "bare_window_manifest.exe\"" + geometry;
    for (int k = 0; k < kWarmUpRuns; ++k) {
        Measure(bareProgram, false);
        Measure(manifestProgram, false);
    }

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

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    try {
        const std::string sampleDisc = std::string("Z:") + TESSALINE_SAMPLE_DISC + "/";
        const std::string own = OwnFolder();
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
        {
            TempFolder disc;
            for (const char* file : {"install.ini", "background.bmp", "readme.txt"}) {
                disc.CopyIn(sampleDisc + file, file);
            }
            disc.CopyIn(own + "tessaline.exe", "tessaline.exe");
            Report("startup", Compare(disc.Path(), EdgeDarkColour(disc.Path() + "install.ini"), runs));
        }
        {
            // The sample disc again, offering its first language only: without
            // a language list, whose common control the manifest's version
            // loads, the menu's own work stands out.
            std::string ini = ReadWholeFile(sampleDisc + "install.ini");
            const std::string three = fixture::Utf16Le(u"LanguageCount=3", false);
            const size_t at = ini.find(three);
            if (at != std::string::npos) {
                ini.replace(at, three.size(), fixture::Utf16Le(u"LanguageCount=1", false));
                TempFolder disc;
                disc.Write("install.ini", ini);
                for (const char* file : {"background.bmp", "readme.txt"}) disc.CopyIn(sampleDisc + file, file);
                disc.CopyIn(own + "tessaline.exe", "tessaline.exe");
                Report("startup-one-language",
                       Compare(disc.Path(), EdgeDarkColour(disc.Path() + "install.ini"), runs));
            }
        }
        {
            TempFolder disc;
            disc.Write("install.ini", fixture::Utf16Le(DiscIni(1)));
            disc.Write("background.bmp", bench::MakePicture(1920, 1080, 8).FileBytes());
            disc.CopyIn(own + "tessaline.exe", "tessaline.exe");
            Report("startup-resampled", Compare(disc.Path(), EdgeDarkColour(disc.Path() + "install.ini"), runs));
        }
        {
            TempFolder disc;
            disc.Write("install.ini", fixture::Utf16Le(DiscIni(2)));
            disc.Write("background.bmp", bench::MakePicture(3840, 2160, 8).FileBytes());
            disc.CopyIn(own + "tessaline.exe", "tessaline.exe");
            Report("startup-4k", Compare(disc.Path(), EdgeDarkColour(disc.Path() + "install.ini"), runs));
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "startup_latency: %s\n", failure.what());
        return 1;
    }
    return 0;
}
