#pragma once

#include <string>

// How start-up ended: the message loop ran to its end or start-up stopped
// quietly (kNone), or it stopped for a reason the entry point tells the user.
enum class StartupStop {
    kNone,
    kError,     // `text` says what was missing or unreadable
    kNoWindow,  // the menu window could not be made
};
struct StartupEnd {
    StartupStop stop = StartupStop::kNone;
    std::string text;
};

// The start-up sequence and the message loop. Returns when the loop ends or
// start-up stops early; the reader's load failures pass through.
[[nodiscard]] StartupEnd RunMenu(bool unattended);
