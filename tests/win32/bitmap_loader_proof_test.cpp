// The whole-file bitmap check against the system's loader: damaged bitmap
// files made from whole ones by a seeded generator (every header field set
// to telling values, cuts at every length that matters, files ending on a
// page boundary), and every one that the check lets through loaded by the
// system's loader as a DIB section, in a child process. The loader maps the
// file: a read past the end of a file that ends on a page boundary crashes
// it, so any crash is a file the check should have refused.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "render/bitmap_check.h"
#include "support/damaged_bitmaps.h"
#include "support/temp_folder.h"

namespace {

using damaged_bitmaps::ForEachDamagedFile;
using damaged_bitmaps::Hex;

// One run of the probe from the file numbered `first`: whether it got
// through the list, and else the number of the file it was loading.
struct ProbeRun {
    bool done;
    long loading;
    bool hung;
    DWORD exitCode;
};

ProbeRun RunProbe(const std::string& list, long first, DWORD limitMs) {
    std::string commandLine = "\"" + OwnFolder() + "bitmap_load_probe.exe\" \"" + list + "\" " + std::to_string(first);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return ProbeRun{false, -1, false, GetLastError()};
    }
    ProbeRun run{false, -1, false, 0};
    if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        run.hung = true;
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::ifstream progress(list + ".progress");
    for (std::string line; std::getline(progress, line);) {
        if (line == "done") {
            run.done = true;
        } else {
            run.loading = std::strtol(line.c_str(), nullptr, 10);
        }
    }
    run.done = run.done && !run.hung && run.exitCode == 0;
    return run;
}

TEST(BitmapCheckAgainstTheLoader, NoFileTheCheckLetsThroughCrashesTheLoader) {
    const DWORD start = GetTickCount();
    TempFolder folder;
    size_t generated = 0;
    std::vector<std::string> descriptions;  // of the files let through, by number
    std::string list;
    ForEachDamagedFile([&](const std::string& bytes, const std::string& description) {
        ++generated;
        const uint32_t head = static_cast<uint32_t>(std::min<size_t>(bytes.size(), kBitmapHeadBytes));
        if (!IsWholeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()), head, bytes.size())) return;
        list += folder.Write(std::to_string(descriptions.size()) + ".bmp", bytes) + "\n";
        descriptions.push_back(description);
    });
    ASSERT_GE(generated, 5000u);
    // Enough files get through for the loads to prove something.
    ASSERT_GE(descriptions.size(), 2000u) << "of " << generated;
    const std::string listPath = folder.Write("files.txt", list);

    // A crash ends one probe; the next one goes on after that file.
    constexpr DWORD kBudgetMs = 100000;
    std::vector<std::string> crashes;
    long first = 0;
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= kBudgetMs) {
            ADD_FAILURE() << "out of time with " << descriptions.size() - static_cast<size_t>(first)
                          << " files not loaded";
            break;
        }
        const ProbeRun run = RunProbe(listPath, first, kBudgetMs - spent);
        if (run.done) break;
        ASSERT_GE(run.loading, first) << "the probe did not start (error or exit code " << run.exitCode << ")";
        crashes.push_back(descriptions[static_cast<size_t>(run.loading)] +
                          (run.hung ? " (the loader hung)" : " (exit code " + Hex(run.exitCode) + ")"));
        first = run.loading + 1;
    }
    std::string listing;
    for (const std::string& crash : crashes) listing += "  " + crash + "\n";
    EXPECT_TRUE(crashes.empty()) << crashes.size() << " of " << descriptions.size()
                                 << " files that the check lets through crash the loader:\n"
                                 << listing;
    std::printf("%zu damaged files, %zu let through and loaded, in %lu ms\n", generated, descriptions.size(),
                static_cast<unsigned long>(GetTickCount() - start));
}

}  // namespace
