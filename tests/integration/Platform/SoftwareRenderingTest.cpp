#include "Platform/Linux/SoftwareRendering.h"

#include "ScopedVariable.h"
#include "TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

// A display-only card draws nothing; only a render node is a graphics device. A renderer the user chose
// stays.
TEST(SoftwareRenderingTest, CairoIsChosenWithoutARenderNodeOrWithMesaInSoftwareUnlessTheUserChoseARenderer)
{
    TemporaryDirectory dri;
    std::ofstream(dri.path() / "card0").put('\0');
    EXPECT_TRUE(drawsInSoftware(dri.path(), nullptr));
    std::ofstream(dri.path() / "renderD128").put('\0');
    EXPECT_FALSE(drawsInSoftware(dri.path(), nullptr));
    EXPECT_TRUE(drawsInSoftware(dri.path(), "true"));
    EXPECT_FALSE(drawsInSoftware(dri.path(), "0"));

    ScopedVariable software("LIBGL_ALWAYS_SOFTWARE", "1");
    {
        ScopedVariable renderer("GSK_RENDERER", "ngl");
        preferCairoWithoutGraphicsDevice();
        EXPECT_STREQ(std::getenv("GSK_RENDERER"), "ngl");
    }
    ScopedVariable renderer("GSK_RENDERER", nullptr);
    preferCairoWithoutGraphicsDevice();
    EXPECT_STREQ(std::getenv("GSK_RENDERER"), "cairo");
}

} // namespace
} // namespace cohortex
