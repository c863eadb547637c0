#pragma once
// The values that hold numbers, read as the menu reads them: every number
// there, and a face name after the font's numbers.

#include "check/check_context.h"

void CheckNumbers(CheckContext& check);
