#pragma once
// The sections and keys of install.ini against what the menu's runs read:
// headers the reader takes elsewhere than meant, sections and keys never
// read, keys written twice or where the reader does not find them.

#include "check/check_context.h"

void CheckSections(CheckContext& check);
