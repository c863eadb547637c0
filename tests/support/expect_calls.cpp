#include "support/expect_calls.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

namespace {

bool Matches(const Call& expected, const Call& actual) {
    return expected.op == actual.op && expected.texts == actual.texts && expected.numbers == actual.numbers &&
           (!expected.on || expected.on == actual.on);
}

}  // namespace

// The report marks the first call that differs in both sequences.
void ExpectCalls(const char* file, int line, const std::vector<Call>& expected, const std::vector<Op>& only) {
    const std::vector<Call> actual = TakeCalls(only);
    size_t same = 0;
    while (same < expected.size() && same < actual.size() && Matches(expected[same], actual[same])) ++same;
    if (same == expected.size() && same == actual.size()) return;
    std::ostringstream report;
    report << "The calls";
    for (size_t k = 0; k < only.size(); ++k) report << (k == 0 ? " of " : ", ") << OperationName(only[k]);
    report << " differ from call " << same << " on.";
    for (const auto& [title, calls] : {std::pair{"Expected", &expected}, std::pair{"Actual", &actual}}) {
        report << "\n" << title << ":";
        for (size_t k = 0; k < calls->size(); ++k) {
            report << "\n  " << (k == same ? "> " : "  ") << k << " " << (*calls)[k];
        }
    }
    ADD_FAILURE_AT(file, line) << report.str();
}
