#pragma once
// The buttons of one language as the loader left them in the menu model:
// the programs they start, their Exit values and their launch conditions.

#include <cstdint>
#include <string>

#include "check/check_context.h"

// `tag` names the language's sections; the unattended run reads the silent
// keys only.
void CheckButtons(CheckContext& check, const std::u16string& tag, uint16_t language, bool unattended);
