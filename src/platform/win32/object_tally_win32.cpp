#include "platform/win32/object_tally_win32.h"

namespace platform {

namespace {
int32_t ownTally = 0;
}  // namespace

int32_t* liveDrawingObjects = &ownTally;

}  // namespace platform
