#include "Models/RowWindow.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

RowWindow windowOver(std::size_t total, std::size_t capacity = 8)
{
    RowWindow window(capacity);
    window.setTotal(total);
    return window;
}

TEST(RowWindowTest, RevealMovesOnlyAsFarAsNeededAndAShrunkenListKeepsItsLastRows)
{
    auto window = windowOver(100);
    window.reveal(7);
    EXPECT_EQ(window.first(), 0u);
    window.reveal(8);
    EXPECT_EQ(window.first(), 1u);
    window.reveal(40);
    EXPECT_EQ(window.first(), 33u);
    window.reveal(20);
    EXPECT_EQ(window.first(), 20u);
    window.reveal(100);
    EXPECT_EQ(window.first(), 20u) << "a row past the end is no reason to move";

    // A list that shrank keeps its last rows on screen.
    window.reveal(99);
    window.setTotal(10);
    EXPECT_EQ(window.first(), 2u);
    EXPECT_EQ(window.count(), 8u);
    window.setTotal(3);
    EXPECT_EQ(window.first(), 0u);
    EXPECT_EQ(window.count(), 3u);
}

TEST(RowWindowTest, ScrollingAddsUpSmallStepsAndStopsAtTheEnds)
{
    auto window = windowOver(20);
    window.scrollBy(0.4);
    window.scrollBy(0.4);
    EXPECT_EQ(window.first(), 0u);
    window.scrollBy(0.4);
    EXPECT_EQ(window.first(), 1u);

    window.scrollBy(500);
    EXPECT_EQ(window.first(), 12u);
    // Pushing on past the end leaves nothing to undo: the first step back moves at once.
    window.scrollBy(30.5);
    window.scrollBy(-1);
    EXPECT_EQ(window.first(), 11u);

    window.scrollTo(19);
    EXPECT_EQ(window.first(), 12u);

    auto fits = windowOver(5);
    fits.scrollBy(3);
    fits.reveal(4);
    EXPECT_EQ(fits.first(), 0u) << "a list that fits never scrolls";
}

} // namespace
} // namespace cohortex
