// Vector operations: normal form, the short path of vectorAdd, and negative magnitudes.
#include <cstring>

#include <gtest/gtest.h>

#include "math/vector.h"

namespace {

void expectVectorEq(Vector actual, Vertex dir, double mag) {
    EXPECT_DOUBLE_EQ(actual.dir.x, dir.x);
    EXPECT_DOUBLE_EQ(actual.dir.y, dir.y);
    EXPECT_DOUBLE_EQ(actual.dir.z, dir.z);
    EXPECT_DOUBLE_EQ(actual.mag, mag);
}

// Bitwise equality, for results that must come back untouched.
void expectSameBits(Vector actual, Vector expected) {
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof(Vector)), 0);
}

TEST(Vector, DefaultIsZero) {
    expectVectorEq(Vector{}, {0, 0, 0}, 0);
}

TEST(Vector, FromVertexSplitsDirectionAndLength) {
    expectVectorEq(vectorFromVertex({3, 0, 4}), {0.6, 0, 0.8}, 5);
    expectVectorEq(vectorFromVertex({0, 0, 0}), {0, 0, 0}, 0);
}

TEST(Vector, ToVertexMultipliesOut) {
    const Vertex v = vectorToVertex(Vector{{0.6, 0, 0.8}, 5});
    EXPECT_DOUBLE_EQ(v.x, 3);
    EXPECT_DOUBLE_EQ(v.z, 4);
    const Vertex zero = vectorToVertex(Vector{});
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_EQ(zero.z, 0.0);
}

TEST(Vector, LengthAndNormalizeIgnoreMagnitude) {
    EXPECT_EQ(vectorLength(Vector{{0, 2, 0}, -7}), 2.0);
    expectVectorEq(vectorNormalize(Vector{{0, 2, 0}, 123}), {0, 1, 0}, 2);
    expectVectorEq(vectorNormalize(Vector{{0, 0, 0}, 5}), {0, 0, 0}, 0);
}

TEST(Vector, AddReturnsSecondOperandUntouchedWhenFirstMagnitudeIsZero) {
    const Vector odd{{0, 3, 4}, -2.5}; // neither unit dir nor positive mag
    expectSameBits(vectorAdd(Vector{{1, 0, 0}, 0.0}, odd), odd);
    expectSameBits(vectorAdd(Vector{}, odd), odd);
}

TEST(Vector, AddWithZeroSecondOperandRenormalizesFirst) {
    expectVectorEq(vectorAdd(Vector{{0, 1, 0}, 3}, Vector{}), {0, 1, 0}, 3);
    // A negative magnitude comes out as a positive one pointing the other way.
    expectVectorEq(vectorAdd(Vector{{0, 1, 0}, -3}, Vector{}), {0, -1, 0}, 3);
}

TEST(Vector, AddOfOppositesIsExactZero) {
    expectVectorEq(vectorAdd(Vector{{1, 0, 0}, 2}, Vector{{-1, 0, 0}, 2}), {0, 0, 0}, 0);
}

TEST(Vector, AddSumsTheVectorsTheyStandFor) {
    // (2, 0, 0) + (0, 0, 1.5) = (2, 0, 1.5), length 2.5
    expectVectorEq(vectorAdd(Vector{{1, 0, 0}, 2}, Vector{{0, 0, -1}, -1.5}), {0.8, 0, 0.6}, 2.5);
}

TEST(Vector, SubAlwaysRenormalizes) {
    const Vector a{{0, 0, 1}, 4};
    expectVectorEq(vectorSub(a, a), {0, 0, 0}, 0);
    // No short path: a zero first operand gives the reversed second.
    expectVectorEq(vectorSub(Vector{{1, 0, 0}, 0}, Vector{{0, 1, 0}, 2}), {0, -1, 0}, 2);
    expectVectorEq(vectorSub(Vector{{1, 0, 0}, 3}, Vector{{0, 1, 0}, -4}), {0.6, 0.8, 0}, 5);
}

TEST(Vector, ScaleChangesMagnitudeOnly) {
    const Vector d{{0, 0.6, 0.8}, 5};
    const Vector reversed = vectorScale(d, -1);
    expectVectorEq(reversed, {0, 0.6, 0.8}, -5);
    const Vertex v = vectorToVertex(reversed);
    EXPECT_DOUBLE_EQ(v.y, -3);
    EXPECT_DOUBLE_EQ(v.z, -4);

    const Vector zeroed = vectorScale(d, 0);
    expectVectorEq(zeroed, {0, 0.6, 0.8}, 0);
    const Vector other{{1, 0, 0}, -9};
    expectSameBits(vectorAdd(zeroed, other), other);
}

} // namespace
