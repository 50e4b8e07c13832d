// GravityList: capacity bound, full-list refusal, out-of-range reads.
#include <gtest/gtest.h>

#include "sim/gravity_list.h"

namespace {

TEST(GravityList, CapacityIsCutToTwenty) {
    GravityList list;
    gravityListInit(&list, 5);
    EXPECT_EQ(gravityListCapacity(&list), 5u);
    gravityListInit(&list, 19);
    EXPECT_EQ(gravityListCapacity(&list), 19u);
    gravityListInit(&list, 20);
    EXPECT_EQ(gravityListCapacity(&list), 20u);
    gravityListInit(&list, 1000);
    EXPECT_EQ(gravityListCapacity(&list), 20u);
    EXPECT_EQ(gravityListCount(&list), 0u);
}

TEST(GravityList, PushFillsInOrderAndRefusesWhenFull) {
    GravityObject first;
    GravityObject second;
    GravityObject third;
    GravityList list;
    gravityListInit(&list, 2);
    EXPECT_EQ(gravityListPush(&list, &first), 0);
    EXPECT_EQ(gravityListPush(&list, &second), 0);
    EXPECT_EQ(gravityListPush(&list, &third), -1);
    EXPECT_EQ(gravityListCount(&list), 2u);
    EXPECT_EQ(gravityListGet(&list, 0), &first);
    EXPECT_EQ(gravityListGet(&list, 1), &second);
    EXPECT_EQ(gravityListGet(&list, 2), nullptr);
}

TEST(GravityList, GetBeyondCountIsNullEvenWithinCapacity) {
    GravityObject body;
    GravityList list;
    gravityListInit(&list, 5);
    gravityListPush(&list, &body);
    EXPECT_EQ(gravityListGet(&list, 1), nullptr);
    EXPECT_EQ(gravityListGet(&list, 4000000000u), nullptr);
    gravityListInit(&list, 5);
    EXPECT_EQ(gravityListGet(&list, 0), nullptr);
}

} // namespace
