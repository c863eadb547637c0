#pragma once
// The numbers of buttons and languages: enough buttons for the menu to run,
// no more of either than it holds. Sets the context's counts.

#include "check/check_context.h"

void CheckCounts(CheckContext& check);
