#pragma once
// The help texts of one language: characters its system's ANSI code page
// can show.

#include <cstdint>
#include <string>

#include "check/check_context.h"

void CheckHelpTexts(CheckContext& check, const std::u16string& tag, uint16_t language);
