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
    window.reveal(100);
    EXPECT_EQ(window.first(), 33u) << "a row past the end is no reason to move";

    window.reveal(99);
    window.setTotal(10);
    EXPECT_EQ(window.first(), 2u) << "a list that shrank keeps its last rows";
    EXPECT_EQ(window.count(), 8u);
}

} // namespace
} // namespace cohortex
