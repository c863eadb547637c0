#pragma once
// A button's PreCond: used at all, its word one the menu knows in the case
// it takes, its version bounds read as they look.

#include <string>

#include "check/check_context.h"
#include "config/menu_model.h"

void CheckCondition(CheckContext& check, const std::u16string& section, const Button& button);
