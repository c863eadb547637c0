#pragma once
// Compares the calls the recording stand-in saw with the calls a test
// expects, as Wine's ok_sequence compares message sequences.

#include <vector>

#include "support/platform_double.h"

// Takes the calls of `only` (every call when empty) out of fake.calls and
// compares them with `expected`; a mismatch prints both whole sequences at
// the calling test's line.
void ExpectCalls(const char* file, int line, const std::vector<Call>& expected, const std::vector<Op>& only = {});
#define EXPECT_CALLS(...) ExpectCalls(__FILE__, __LINE__, __VA_ARGS__)
