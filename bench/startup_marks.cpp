// Marks for a measuring build of the menu, tessaline_marked.exe: the steps
// of start-up, wrapped at link time (the linker's --wrap, which bench's
// CMakeLists.txt lists for each function named here) so that the menu's own
// code stays as it ships. Each call notes the performance counter as it
// enters and leaves; when the program ends the notes go to the file that
// TESSALINE_MARKS names, one a line: "enter|leave <step> <counter>".
// startup_latency --profile reads them. A step called more than once (the
// configuration loader, the locale enumeration) is noted each time.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "config/ini_reader.h"
#include "platform/font.h"
#include "platform/types.h"
#include "render/bitmap_decoding.h"
#include "render/resample.h"

namespace {

struct Note {
    const char* step;
    bool leaving;
    int64_t counter;
};

Note notes[512];
int noteCount = 0;

void Take(const char* step, bool leaving) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    if (noteCount < static_cast<int>(sizeof notes / sizeof notes[0])) {
        notes[noteCount++] = Note{step, leaving, counter.QuadPart};
    }
}

void WriteNotes() {
    const char* path = std::getenv("TESSALINE_MARKS");
    if (path == nullptr) return;
    std::FILE* file = std::fopen(path, "w");
    if (file == nullptr) return;
    for (int k = 0; k < noteCount; ++k) {
        std::fprintf(file, "%s %s %lld\n", notes[k].leaving ? "leave" : "enter", notes[k].step,
                     static_cast<long long>(notes[k].counter));
    }
    std::fclose(file);
}

// Notes the step's entry now and its end when it goes out of scope.
class Span {
public:
    explicit Span(const char* step) : step(step) { Take(step, false); }
    ~Span() { Take(step, true); }
    Span(const Span&) = delete;
    Span& operator=(const Span&) = delete;

private:
    const char* step;
};

}  // namespace

// The wrapper of the function whose symbol is `mangled`: the step `step`
// around a call of the real one. (Two levels, so that a name given by a
// macro is spelt out before it is pasted.)
#define TESSALINE_MARKED_STEP_(result, mangled, step, parameters, arguments) \
    extern "C" result __real_##mangled parameters;                           \
    extern "C" result __wrap_##mangled parameters {                          \
        Span span(step);                                                     \
        return __real_##mangled arguments;                                   \
    }
#define TESSALINE_MARKED_STEP(result, mangled, step, parameters, arguments) \
    TESSALINE_MARKED_STEP_(result, mangled, step, parameters, arguments)

// TESSALINE_PICTURE_READ and TESSALINE_REGISTER_CLASS name the two steps
// that take pointer-sized values, as bench's CMakeLists.txt spells them for
// the build's width.

using Procedure = intptr_t (*)(platform::Window, uint32_t, uintptr_t, intptr_t);
using LocaleVisit = bool (*)(const char*, void*);

TESSALINE_MARKED_STEP(platform::Library, _ZN8platform17LoadSystemLibraryEPKc, "LoadSystemLibrary", (const char* n),
                      (n))
TESSALINE_MARKED_STEP(platform::Window, _ZN8platform18FindTopLevelWindowEPKc, "FindTopLevelWindow",
                      (const char* c), (c))
TESSALINE_MARKED_STEP(bool, _ZN16UnicodeIniReader4LoadEPKc, "IniReader::Load", (UnicodeIniReader * r, const char* p),
                      (r, p))
TESSALINE_MARKED_STEP(void, _Z23ClassifyOperatingSystemv, "ClassifyOperatingSystem", (), ())
TESSALINE_MARKED_STEP(platform::DrawingContext, _ZN8platform17CreateDisplayInfoEv, "CreateDisplayInfo", (), ())
TESSALINE_MARKED_STEP(platform::Bitmap, _Z20LoadBackgroundBitmapPKcff, "LoadBackgroundBitmap",
                      (const char* n, float h, float v), (n, h, v))
TESSALINE_MARKED_STEP(platform::File, _ZN8platform18OpenFileForReadingEPKc, "OpenFileForReading", (const char* n),
                      (n))
TESSALINE_MARKED_STEP(bool, _ZN8platform12ReadFromFileEPNS_10FileObjectEPvjPj, "ReadFromFile",
                      (platform::File f, void* b, uint32_t w, uint32_t* g), (f, b, w, g))
TESSALINE_MARKED_STEP(bool, TESSALINE_PICTURE_READ, "PalettePicture::Read",
                      (PalettePicture * p, const uint8_t* f, size_t s), (p, f, s))
TESSALINE_MARKED_STEP(platform::Bitmap, _ZN8platform14LoadBitmapFileEPKcj, "LoadBitmapFile",
                      (const char* n, uint32_t f), (n, f))
TESSALINE_MARKED_STEP(platform::Bitmap, _ZN8platform16CreateDibSectionEiiiPPv, "CreateDibSection",
                      (int32_t w, int32_t h, int32_t b, void** p), (w, h, b, p))
TESSALINE_MARKED_STEP(bool, _Z15ResampleOnCoresRK13SourcePictureff4SizePj, "ResampleOnCores",
                      (const SourcePicture& s, float h, float v, Size z, uint32_t* o), (s, h, v, z, o))
TESSALINE_MARKED_STEP(int32_t, _Z21LoadMenuConfigurationRA7_DsRK4Rect, "LoadMenuConfiguration",
                      (char16_t (&t)[7], const Rect& f), (t, f))
TESSALINE_MARKED_STEP(void, _ZN8platform25EnumerateInstalledLocalesEPFbPKcPvES2_, "EnumerateInstalledLocales",
                      (LocaleVisit v, void* c), (v, c))
TESSALINE_MARKED_STEP(void, _Z18MakeRequestedFontsv, "MakeRequestedFonts", (), ())
TESSALINE_MARKED_STEP(bool, _Z19SelectStartLanguagePKDsRK4Rect, "SelectStartLanguage",
                      (const char16_t* t, const Rect& p), (t, p))
TESSALINE_MARKED_STEP(bool, TESSALINE_REGISTER_CLASS, "RegisterWindowClass",
                      (const char* c, Procedure p, int i), (c, p, i))
TESSALINE_MARKED_STEP(platform::Window, _ZN8platform20CreateTopLevelWindowEjPKcS1_jiiii, "CreateTopLevelWindow",
                      (uint32_t e, const char* c, const char* t, uint32_t s, int32_t x, int32_t y, int32_t w,
                       int32_t h),
                      (e, c, t, s, x, y, w, h))
TESSALINE_MARKED_STEP(void, _Z17CreateLanguageBoxPN8platform12WindowObjectEPNS_14InstanceObjectE, "CreateLanguageBox",
                      (platform::Window p, platform::Instance i), (p, i))
TESSALINE_MARKED_STEP(platform::Window,
                      _ZN8platform17CreateChildWindowEPKcS1_jiiiiPNS_12WindowObjectEPNS_14InstanceObjectE,
                      "CreateChildWindow",
                      (const char* c, const char* t, uint32_t s, int32_t x, int32_t y, int32_t w, int32_t h,
                       platform::Window p, platform::Instance i),
                      (c, t, s, x, y, w, h, p, i))
TESSALINE_MARKED_STEP(void, _ZN8platform18ShowTopLevelWindowEPNS_12WindowObjectEi, "ShowTopLevelWindow",
                      (platform::Window w, int s), (w, s))
TESSALINE_MARKED_STEP(void, _ZN8platform8PaintNowEPNS_12WindowObjectE, "PaintNow", (platform::Window w), (w))
TESSALINE_MARKED_STEP(void, _Z15PaintMenuWindowPN8platform12WindowObjectE, "PaintMenuWindow", (platform::Window w),
                      (w))
TESSALINE_MARKED_STEP(platform::DrawingContext, _ZN8platform16BeginWindowPaintEPNS_12WindowObjectE, "BeginWindowPaint",
                      (platform::Window w), (w))
TESSALINE_MARKED_STEP(void, _ZN8platform9CopyBlockEPNS_20DrawingContextObjectEiiiiS1_ii, "CopyBlock",
                      (platform::DrawingContext t, int32_t x, int32_t y, int32_t w, int32_t h,
                       platform::DrawingContext s, int32_t sx, int32_t sy),
                      (t, x, y, w, h, s, sx, sy))
TESSALINE_MARKED_STEP(void, _ZN8platform12DrawWideTextEPNS_20DrawingContextObjectEiiPKDs, "DrawWideText",
                      (platform::DrawingContext c, int32_t x, int32_t y, const char16_t* t), (c, x, y, t))
TESSALINE_MARKED_STEP(void, _ZN8platform15DrawWrappedTextEPNS_20DrawingContextObjectEPKcRK4Rect, "DrawWrappedText",
                      (platform::DrawingContext c, const char* t, const Rect& r), (c, t, r))
TESSALINE_MARKED_STEP(Size, _ZN8platform10TextExtentEPNS_20DrawingContextObjectEPKc, "TextExtent",
                      (platform::DrawingContext c, const char* t), (c, t))
TESSALINE_MARKED_STEP(platform::Bitmap, _ZN8platform21CreateOffscreenBitmapEiii, "CreateOffscreenBitmap",
                      (int32_t w, int32_t h, int32_t b), (w, h, b))
TESSALINE_MARKED_STEP(platform::Font, _ZN8platform14CreateFontFromERKNS_15FontDescriptionE, "CreateFontFrom",
                      (const platform::FontDescription& d), (d))
TESSALINE_MARKED_STEP(bool, _ZN8platform9FaceInUseEPNS_10FontObjectEPcj, "FaceInUse",
                      (platform::Font f, char* n, uint32_t c), (f, n, c))

// The program's own code begins and ends here; the notes are written as it ends.
extern "C" int __real__Z10RunProgramPKc(const char* arguments);
extern "C" int __wrap__Z10RunProgramPKc(const char* arguments) {
    int result = 0;
    {
        Span span("RunProgram");
        result = __real__Z10RunProgramPKc(arguments);
    }
    WriteNotes();
    return result;
}
