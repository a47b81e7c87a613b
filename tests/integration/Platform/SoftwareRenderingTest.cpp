#include "Platform/Linux/SoftwareRendering.h"

#include "ScopedVariable.h"
#include "TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

class SoftwareRenderingTest : public testing::Test {
protected:
    void addNode(const char* name) { std::ofstream(m_dri.path() / name).put('\0'); }

    TemporaryDirectory m_dri;
};

TEST_F(SoftwareRenderingTest, OnlyARenderNodeMeansAGraphicsDevice)
{
    EXPECT_TRUE(drawsInSoftware(m_dri.path() / "missing", nullptr));
    EXPECT_TRUE(drawsInSoftware(m_dri.path(), nullptr));
    addNode("card0");
    EXPECT_TRUE(drawsInSoftware(m_dri.path(), nullptr)) << "A display-only card draws nothing";
    addNode("renderD128");
    EXPECT_FALSE(drawsInSoftware(m_dri.path(), nullptr));
}

TEST_F(SoftwareRenderingTest, MesaToldToRasteriseInSoftwareWinsOverTheDevice)
{
    addNode("renderD128");
    for (const char* yes : { "1", "true", "TRUE", "yes", "y" })
        EXPECT_TRUE(drawsInSoftware(m_dri.path(), yes)) << yes;
    for (const char* no : { "0", "false", "no", "", "maybe" })
        EXPECT_FALSE(drawsInSoftware(m_dri.path(), no)) << no;
}

TEST(SoftwareRenderingChoice, CairoIsChosenWhenDrawingWouldBeInSoftwareUnlessTheUserChoseARenderer)
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
