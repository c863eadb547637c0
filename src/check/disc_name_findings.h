#pragma once
// The names of every file and folder of the disc against what an ISO 9660
// image with Joliet names keeps of them: an error where a key needs the
// name (the context's needs), a warning for the others.

#include "check/check_context.h"

void CheckDiscNames(CheckContext& check);
