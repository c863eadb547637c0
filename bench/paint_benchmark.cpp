// One full DrawButtons, every one of twelve buttons composed off-screen and
// copied, into a memory context holding a 32-bit picture of the window's
// size; the model and its fonts come from the twelve-button install.ini.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "config/ini_reader.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "config/wide_text.h"
#include "install_ini.h"
#include "platform/bitmap.h"
#include "platform/drawing.h"
#include "render/fonts.h"
#include "render/menu_painting.h"

namespace {

constexpr const char* kPath = "bench-paint-install.ini";

void DrawAllButtons(benchmark::State& state) {
    platform::DrawingContext memory = platform::CreateMemoryContext(nullptr);
    void* bits = nullptr;
    platform::Bitmap picture = platform::CreateDibSection(800, 600, 32, &bits);
    if (memory == nullptr || picture == nullptr) {
        state.SkipWithError("no memory context");
        return;
    }
    platform::SaveContext(memory);
    platform::SelectBitmap(memory, picture);
    menu.selectedIndex = 4;
    for (auto _ : state) {
        DrawButtons(memory);
        benchmark::DoNotOptimize(bits);
    }
    platform::RestoreContext(memory);
    platform::DeleteMemoryContext(memory);
    platform::ReleaseBitmap(picture);
}

}  // namespace

BENCHMARK(DrawAllButtons)->Name("paint/draw-buttons")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    const std::string bytes = bench::TwelveButtonsTenLanguages();
    std::FILE* file = std::fopen(kPath, "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return 1;
    std::fclose(file);
    menu.bitmapSize = Size{800, 600};
    char16_t tag[kLanguageTagCapacity];
    CopyWide(tag, u"0x09");
    if (!iniReader.Load(kPath) || LoadMenuConfiguration(tag) != 0) return 1;
    MakeRequestedFonts();
    std::remove(kPath);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
