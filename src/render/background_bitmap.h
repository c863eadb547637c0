#pragma once

#include "platform/types.h"

// Loads the background picture `name` (narrow, used as written) scaled by the
// factors; none on failure. The caller owns the result.
platform::Bitmap LoadBackgroundBitmap(const char* name, float horizontalFactor, float verticalFactor);
