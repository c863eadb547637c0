#pragma once
// The languages the file offers: each entry of [Languages] an identifier the
// menu can take, with the sections the menu reads for it.

#include "check/check_context.h"

void CheckLanguages(CheckContext& check);
