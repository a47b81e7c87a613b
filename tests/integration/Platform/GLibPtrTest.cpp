#include "Platform/Linux/GLibPtr.h"

#include <glib-object.h>
#include <gtest/gtest.h>
#include <utility>

namespace cohortex {
namespace {

TEST(GObjectPtrTest, EveryOwnerHoldsOneReferenceAndTheLastOneDropsIt)
{
    GObject* object = G_OBJECT(g_object_new(G_TYPE_OBJECT, nullptr));
    g_object_add_weak_pointer(object, reinterpret_cast<gpointer*>(&object));
    {
        GObjectPtr<GObject> adopted(object);
        EXPECT_EQ(object->ref_count, 1u);
        auto copy = adopted;
        auto retained = GObjectPtr<GObject>::retain(object);
        EXPECT_EQ(object->ref_count, 3u);
        auto moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(object->ref_count, 3u);
        retained = moved;
        EXPECT_EQ(object->ref_count, 3u);
        retained.reset();
        EXPECT_EQ(object->ref_count, 2u);

        auto list = adoptObjectList<GObject>(g_list_append(nullptr, g_object_ref(object)));
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(object->ref_count, 3u);
    }
    EXPECT_EQ(object, nullptr);
}

} // namespace
} // namespace cohortex
