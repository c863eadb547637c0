#pragma once
// The background pictures: named, on the disc, loadable, and shrinkable
// where a screen the menu may meet makes it shrink them.

#include "check/check_context.h"

// Sets the context's bitmapSize from the first picture found.
void CheckPictures(CheckContext& check);
