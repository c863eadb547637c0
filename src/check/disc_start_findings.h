#pragma once
// How the disc starts the menu: tessaline.exe at the disc's root, and the
// autorun.inf that Windows reads when the disc is inserted (its program and
// icon on the disc). The folder's autorun.inf is only read, never written.

#include "check/check_context.h"

constexpr const char* kMenuExeName = "tessaline.exe";

// Notes the files autorun.inf names in the context's needs.
void CheckDiscStart(CheckContext& check);
