#include "Platform/Linux/SoftwareRendering.h"

#include "ScopedVariable.h"
#include "TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(SoftwareRenderingTest, OnlyARenderNodeMeansAGraphicsDeviceUnlessMesaIsToldToRasteriseInSoftware)
{
    TemporaryDirectory dri;
    EXPECT_TRUE(drawsInSoftware(dri.path() / "missing", nullptr));
    EXPECT_TRUE(drawsInSoftware(dri.path(), nullptr));
    std::ofstream(dri.path() / "card0").put('\0');
    EXPECT_TRUE(drawsInSoftware(dri.path(), nullptr)) << "A display-only card draws nothing";
    std::ofstream(dri.path() / "renderD128").put('\0');
    EXPECT_FALSE(drawsInSoftware(dri.path(), nullptr));
    for (const char* yes : { "1", "true", "TRUE", "yes", "y" })
        EXPECT_TRUE(drawsInSoftware(dri.path(), yes)) << yes;
    for (const char* no : { "0", "false", "no", "", "maybe" })
        EXPECT_FALSE(drawsInSoftware(dri.path(), no)) << no;
}

TEST(SoftwareRenderingTest, CairoIsChosenWhenDrawingWouldBeInSoftwareUnlessTheUserChoseARenderer)
{
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
