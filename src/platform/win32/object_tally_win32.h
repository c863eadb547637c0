#pragma once
// A tally of the drawing objects this layer has made (contexts, brushes,
// pens, bitmaps, fonts) and not yet released. The program never reads it; a
// test build publishes it (tests/e2e/object_tally_publisher.cpp) so that the
// long-running test can see leaks where the system does not count objects
// per process (Wine answers GetGuiResources with 0).

#include <cstdint>

namespace platform {

// Where the tally is kept; a test build may move it into shared memory
// before the program starts.
extern int32_t* liveDrawingObjects;

// Counts a handle the system made, when it made one, and hands it on.
template <typename Handle>
Handle Tallied(Handle handle) {
    if (handle != nullptr) ++*liveDrawingObjects;
    return handle;
}

// Counts the release of a handle, when there was one.
template <typename Handle>
void Untallied(Handle handle) {
    if (handle != nullptr) --*liveDrawingObjects;
}

}  // namespace platform
