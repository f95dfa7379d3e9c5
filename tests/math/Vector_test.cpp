#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

#include "math/Vector3.h"
#include "math/Vector4.h"

namespace {

std::string Written(const Vector3& v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

std::array<float, 4> Components(const Vector4& v) { return {v.x, v.y, v.z, v.w}; }

}  // namespace

TEST(Vector3Test, WritesTabSeparatedWithTinyComponentsAsZero) {
    EXPECT_EQ(Written(Vector3(0.000001f, -2.5f, 3)), "\t0\t-2.5\t3\t");
    EXPECT_EQ(Written(Vector3(-0.000001f, 0, 1e-20f)), "\t0\t0\t0\t");
    // The float nearest 0.00001 is just below it; the next one up is kept.
    EXPECT_EQ(Written(Vector3(0.00001f, 0.0000101f, 0.5f)), "\t0\t1.01e-05\t0.5\t");
}

TEST(Vector3Test, WritingUsesTheStreamsFloatFormat) {
    std::ostringstream out;
    out.precision(3);
    out << Vector3(3.14159f, 100000, -0.25f);
    EXPECT_EQ(out.str(), "\t3.14\t1e+05\t-0.25\t");
}

TEST(Vector3Test, ReadsThreeFloatsAcrossAnyWhiteSpace) {
    std::istringstream in("1.5\n  -2\t3e2 7");
    Vector3 v;
    in >> v;
    EXPECT_EQ(v, Vector3(1.5f, -2, 300));
    float rest = 0;
    in >> rest;
    EXPECT_EQ(rest, 7);

    std::istringstream broken("1 2 x");
    broken >> v;
    EXPECT_TRUE(broken.fail());
}

TEST(Vector3Test, WrittenVectorReadsBack) {
    std::stringstream text;
    text << Vector3(0.25f, -8, 1024);
    Vector3 v;
    text >> v;
    EXPECT_EQ(v, Vector3(0.25f, -8, 1024));
}

TEST(Vector3Test, Arithmetic) {
    const Vector3 a(1, 2, 3), b(-4, 5, 0.5f);
    EXPECT_EQ(a + b, Vector3(-3, 7, 3.5f));
    EXPECT_EQ(a - b, Vector3(5, -3, 2.5f));
    EXPECT_EQ(-a, Vector3(-1, -2, -3));
    EXPECT_EQ(a * 2, Vector3(2, 4, 6));
    EXPECT_EQ(2 * a, Vector3(2, 4, 6));
    EXPECT_EQ(a / 2, Vector3(0.5f, 1, 1.5f));
    EXPECT_FLOAT_EQ(a.Dot(b), 7.5f);
    EXPECT_EQ(Vector3(1, 0, 0).Cross(Vector3(0, 1, 0)), Vector3(0, 0, 1));
    EXPECT_EQ(a.Cross(b), Vector3(2 * 0.5f - 3 * 5, 3 * -4 - 1 * 0.5f, 1 * 5 - 2 * -4));
    EXPECT_FLOAT_EQ(Vector3(3, 4, 12).Length(), 13);
}

TEST(Vector3Test, NormalisationLeavesZeroUnchanged) {
    EXPECT_EQ(Vector3(0, 0, 0).Normalized(), Vector3(0, 0, 0));
    Vector3 v(0, 0, 0);
    v.Normalize();
    EXPECT_EQ(v, Vector3(0, 0, 0));

    const Vector3 n = Vector3(3, 0, -4).Normalized();
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, -0.8f);
}

TEST(Vector4Test, RoundTripThroughVector3) {
    const Vector4 point(Vector3(1.5f, -2, 7));
    EXPECT_EQ(point.w, 1);
    EXPECT_EQ(Vector3(point), Vector3(1.5f, -2, 7));
    // The conversion back divides by w.
    EXPECT_EQ(Vector3(Vector4(2, 4, -6, 2)), Vector3(1, 2, -3));
}

TEST(Vector4Test, ArithmeticCoversAllFourComponents) {
    const Vector4 a(1, 2, 3, 4), b(0.5f, -1, 2, -2);
    EXPECT_FLOAT_EQ(a * b, 0.5f - 2 + 6 - 8);
    EXPECT_EQ(Components(+a), Components(a));
    EXPECT_EQ(Components(-a), Components(Vector4(-1, -2, -3, -4)));
    EXPECT_EQ(Components(a + b), Components(Vector4(1.5f, 1, 5, 2)));
    EXPECT_EQ(Components(a - b), Components(Vector4(0.5f, 3, 1, 6)));
    EXPECT_EQ(Components(a * 2), Components(Vector4(2, 4, 6, 8)));
    EXPECT_EQ(Components(a / 4), Components(Vector4(0.25f, 0.5f, 0.75f, 1)));
}

TEST(Vector4Test, NormIncludesWAndZeroStaysZero) {
    EXPECT_FLOAT_EQ(Vector4(1, 2, 2, 4).norm(), 5);
    const Vector4 n = Vector4(0, 3, 0, 4).normalized();
    EXPECT_FLOAT_EQ(n.y, 0.6f);
    EXPECT_FLOAT_EQ(n.w, 0.8f);
    EXPECT_EQ(Components(Vector4(0, 0, 0, 0).normalized()), Components(Vector4(0, 0, 0, 0)));
}
