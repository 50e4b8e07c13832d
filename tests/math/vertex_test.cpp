// Vertex operations: operand order, summing order, and the exact zero test of normalisation.
#include <gtest/gtest.h>

#include "math/vertex.h"

namespace {

void expectVertexEq(Vertex actual, Vertex expected) {
    EXPECT_DOUBLE_EQ(actual.x, expected.x);
    EXPECT_DOUBLE_EQ(actual.y, expected.y);
    EXPECT_DOUBLE_EQ(actual.z, expected.z);
}

TEST(Vertex, DefaultIsOrigin) {
    expectVertexEq(Vertex{}, {0, 0, 0});
}

TEST(Vertex, SubtractsSecondOperandFromFirst) {
    expectVertexEq(vertexSub({1, 2, 3}, {0, 0, 1}), {1, 2, 2});
}

TEST(Vertex, DotSumsInComponentOrder) {
    EXPECT_EQ(vertexDot({1, 2, 3}, {4, -5, 6}), 12.0);
    // Added left to right, 1e16 + 1 - 1e16 rounds the 1 away; another order would keep it.
    EXPECT_EQ(vertexDot({1e16, 1, -1e16}, {1, 1, 1}), 0.0);
}

TEST(Vertex, LengthAndScale) {
    EXPECT_EQ(vertexLength({3, 0, 4}), 5.0);
    EXPECT_EQ(vertexLength({}), 0.0);
    expectVertexEq(vertexScale({1, -2, 0.5}, -2), {-2, 4, -1});
}

TEST(Vertex, NormalizeGivesUnitOrExactZero) {
    expectVertexEq(vertexNormalize({0, 0, 0}), {0, 0, 0});
    expectVertexEq(vertexNormalize({0, 0, 2}), {0, 0, 1});
    expectVertexEq(vertexNormalize({3, 0, -4}), {0.6, 0, -0.8});
}

TEST(Vertex, NormalizeDividesByTinyLengths) {
    // Only a length of exactly 0.0 takes the zero branch.
    expectVertexEq(vertexNormalize({1e-100, 0, 0}), {1, 0, 0});
}

} // namespace
