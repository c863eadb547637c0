#include <gtest/gtest.h>

#include <utility>

#include "platform/holders.h"
#include "support/expect_calls.h"
#include "support/platform_double.h"

namespace {

class Holders : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatformDouble(); }
};

// The stand-in records every release, so a brush released twice shows.
TEST_F(Holders, AnOwnedHandleIsReleasedOnceWhereverItIsMoved) {
    {
        platform::OwnedBrush first(platform::MakeBrush(0x0000FF));
        platform::OwnedBrush second(std::move(first));
        platform::OwnedBrush third(platform::MakeBrush(0x00FF00));
        EXPECT_EQ(OpenObjects(), 2u);
        third = std::move(second);
        EXPECT_EQ(OpenObjects(), 1u) << "the brush that the target held goes at once";
    }
    EXPECT_EQ(OpenObjects(), 0u);
    EXPECT_EQ(Count(Op::ReleaseBrush), 2);
}

TEST_F(Holders, ATakenHandleIsLeftToWhoeverTookIt) {
    platform::Brush taken = nullptr;
    {
        platform::OwnedBrush held(platform::MakeBrush(0x0000FF));
        taken = held.Take();
    }
    EXPECT_EQ(OpenObjects(), 1u);
    EXPECT_EQ(Count(Op::ReleaseBrush), 0);
    platform::ReleaseBrush(taken);
}

// Pens declared before the selection outlive it: the context has its own
// pen back when they are released, so neither lives on selected.
TEST_F(Holders, APenSelectionPutsBackTheContextsOwnPenBeforeThePensGo) {
    const platform::DrawingContext dc = reinterpret_cast<platform::DrawingContext>(0x77);
    {
        const platform::OwnedPen first(platform::MakePen(0x0000FF));
        const platform::OwnedPen second(platform::MakePen(0x00FF00));
        platform::ScopedPenSelection selection(dc, first.Get());
        selection.Select(second.Get());
        EXPECT_EQ(SelectedPen(dc), second.Get());
    }
    EXPECT_EQ(SelectedPen(dc), StockPen());
    // A pen released while still selected would stay open.
    EXPECT_EQ(OpenObjects(), 0u);
}

struct CountedInterface {
    int releases = 0;
    void Release() { ++releases; }
};

TEST(ComPtr, ItsReferenceIsReleasedOnceWhereverItIsMoved) {
    CountedInterface moved;
    CountedInterface replaced;
    CountedInterface reset;
    {
        platform::ComPtr<CountedInterface> first(&moved);
        platform::ComPtr<CountedInterface> second(std::move(first));
        platform::ComPtr<CountedInterface> third(&replaced);
        third = std::move(second);
        EXPECT_EQ(replaced.releases, 1) << "the reference that the target held goes at once";
        EXPECT_EQ(moved.releases, 0);
        platform::ComPtr<CountedInterface> early(&reset);
        early.Reset();
        EXPECT_EQ(reset.releases, 1);
    }
    EXPECT_EQ(moved.releases, 1);
    EXPECT_EQ(replaced.releases, 1);
    EXPECT_EQ(reset.releases, 1);
}

TEST(ComPtr, ATakenReferenceIsLeftToWhoeverTookIt) {
    CountedInterface object;
    CountedInterface* taken = nullptr;
    {
        platform::ComPtr<CountedInterface> held(&object);
        taken = held.Take();
    }
    EXPECT_EQ(taken, &object);
    EXPECT_EQ(object.releases, 0);
}

}  // namespace
