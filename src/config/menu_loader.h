#pragma once

#include <cstdint>

#include "config/menu_model.h"

// Fills the menu model from install.ini (already held by iniReader) in the
// language `languageTag`. 0 on success, -1 when the configuration is refused.
int32_t LoadMenuConfiguration(const char* iniPath, char16_t (&languageTag)[kLanguageTagCapacity]);
