#include <gtest/gtest.h>

#include "config/formatted_input.h"

namespace {

struct Four {
    int32_t a = -7, b = -7, c = -7, d = -7;
};

int Scan(const char16_t* text, const char* pattern, Four& v) {
    int32_t* const targets[] = {&v.a, &v.b, &v.c, &v.d};
    return ScanIntegers(text, pattern, targets, 4);
}

TEST(FormattedInput, ReadsCommaSeparatedDecimals) {
    Four v;
    EXPECT_EQ(Scan(u"10,21,101,-3", "%d,%d,%d,%d", v), 4);
    EXPECT_EQ(v.a, 10);
    EXPECT_EQ(v.b, 21);
    EXPECT_EQ(v.c, 101);
    EXPECT_EQ(v.d, -3);
}

TEST(FormattedInput, BlanksMayPrecedeANumberButNotAComma) {
    Four v;
    EXPECT_EQ(Scan(u"  1, +2,\t3", "%d,%d,%d", v), 3);
    EXPECT_EQ(v.c, 3);
    Four w;
    EXPECT_EQ(Scan(u"1 ,2", "%d,%d", w), 1);
    EXPECT_EQ(w.a, 1);
    EXPECT_EQ(w.b, -7) << "a target not reached keeps its value";
}

TEST(FormattedInput, StopsAtTheFirstMismatchAndIgnoresTheRest) {
    Four v;
    EXPECT_EQ(Scan(u"640", "%d,%d", v), 1);
    EXPECT_EQ(v.b, -7);
    Four w;
    EXPECT_EQ(Scan(u"5,6,7,8,3d", "%d,%d,%d,%d", w), 4);
    Four x;
    EXPECT_EQ(Scan(u"x1,2", "%d,%d", x), 0);
    Four y;
    EXPECT_EQ(Scan(u"-,2", "%d,%d", y), 0);
}

TEST(FormattedInput, PercentIAcceptsHexAndOctal) {
    Four v;
    EXPECT_EQ(Scan(u"0x1A,010", "%i,%i", v), 2);
    EXPECT_EQ(v.a, 26);
    EXPECT_EQ(v.b, 8);
    Four w;
    EXPECT_EQ(Scan(u"-0X10,7", "%i,%i", w), 2);
    EXPECT_EQ(w.a, -16);
    EXPECT_EQ(w.b, 7);
    Four x;
    EXPECT_EQ(Scan(u"09,1", "%i,%i", x), 1) << "9 is no octal digit: the comma is not reached";
    EXPECT_EQ(x.a, 0);
    Four y;
    EXPECT_EQ(Scan(u"0x409", "%d", y), 1) << "%d reads the 0 only";
    EXPECT_EQ(y.a, 0);
}

TEST(FormattedInput, OverlongNumbersWrapWithoutOverflow) {
    Four v;
    EXPECT_EQ(Scan(u"2147483647,-2147483648,4294967296,99999999999999999999", "%d,%d,%d,%d", v), 4);
    EXPECT_EQ(v.a, 2147483647);
    EXPECT_EQ(v.b, INT32_MIN);
    EXPECT_EQ(v.c, 0);
}

TEST(FormattedInput, NeverWritesMoreTargetsThanGiven) {
    int32_t only = 0;
    int32_t* const targets[] = {&only};
    EXPECT_EQ(ScanIntegers(u"1,2,3", "%d,%d,%d", targets, 1), 1);
    EXPECT_EQ(only, 1);
}

}  // namespace
