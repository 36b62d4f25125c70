// Angle and vector helpers: the guarded arcsine/arccosine with their German
// messages, polar conversion at its corner cases, degree helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/MATLIB.h"
#include "astro/Trigonom.h"
#include "app/base/Utils.h"

using namespace nodalis;

namespace {
constexpr long double EXACT = 1e-18L;  // extended rounding, radians/degrees
}

TEST(ArcSinArcCos, ToleranceBandAndMessages) {
  EXPECT_NEAR(ArcSin(-1), -PI_EXT / 2, EXACT);
  testing::internal::CaptureStdout();
  EXPECT_NEAR(ArcSin(1.0000000005L), 1.0000000005L * PI_EXT / 2, EXACT);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  testing::internal::CaptureStdout();
  const long double a = ArcSin(1.5L);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "FehlerArcSin (1.5)  ist nicht definiert\n");
  EXPECT_TRUE(std::isfinite(a));
  EXPECT_NEAR(ArcSin(0.5L), PI_EXT / 6, EXACT);

  EXPECT_EQ(ArcCos(-1), 0.0L);  // not pi: |x| >= 1 gives 0 at either bound
  EXPECT_NEAR(ArcCos(0.5L), PI_EXT / 3, EXACT);
  std::string box;
  ErrorBoxHook = [&](const std::string& s) { box = s; };
  const long double c = ArcCos(-2);
  ErrorBoxHook = nullptr;
  EXPECT_EQ(box, "FehlerArcCos (-2)  ist nicht definiert");
  EXPECT_TRUE(std::isfinite(c));
}

TEST(Polar, CornerCasesAndRotation) {
  long double R, Phi;
  RectToPolar(R, Phi, 0, -1);  // y = 0, x = -1
  EXPECT_EQ(R, 1.0L);
  EXPECT_NEAR(Phi, PI_EXT, EXACT);
  RectToPolar(R, Phi, 0, 0);
  EXPECT_EQ(R, 0.0L);
  EXPECT_EQ(Phi, 0.0L);
  RectToPolar(R, Phi, -1, 0);
  EXPECT_NEAR(Phi, -PI_EXT / 2, EXACT);
  long double x = 1, y = 0;
  RotateXY(x, y, PI_EXT / 2);
  EXPECT_NEAR(x, 0, EXACT);
  EXPECT_NEAR(y, 1, EXACT);
  EXPECT_NEAR(Tan(PI_EXT / 4), 1.0L, 1e-18L);
  EXPECT_TRUE(std::isfinite(Tan(PI_EXT / 2)));
}

TEST(Degrees, RadToDegKeepsSignAndSmallAngleBranch) {
  EXPECT_NEAR(RadToDeg(-PI_EXT / 2), -90.0L, 1e-15L);
  EXPECT_NEAR(RadToDeg(5 * PI_EXT / 2), 90.0L, 1e-15L);
  EXPECT_NEAR(DegToRad(180), PI_EXT, EXACT);
  EXPECT_EQ(ArcSinDeg(1e-8L), 1e-8L / DEG_FACTOR);
  EXPECT_EQ(ArcSinDeg(-1), -90.0L);
  EXPECT_NEAR(ArcSinDeg(0.5L), 30.0L, 1e-12L);  // degree literal has 15 digits
}

TEST(Vectors, ProductsAndFrac01) {
  TVector a{1, 2, 3}, b{4, 5, 6}, c;
  EXPECT_EQ(DotProduct(a, b), 32.0L);
  CrossProduct(a, b, c);
  EXPECT_EQ(c.x, -3.0L);
  EXPECT_EQ(c.y, 6.0L);
  EXPECT_EQ(c.z, -3.0L);
  CrossProduct(a, b, a);  // output may alias an input
  EXPECT_EQ(a.x, -3.0L);
  EXPECT_EQ(VecLength(TVector{3, 4, 0}), 5.0L);
  EXPECT_EQ(Frac01(-0.25L), 0.75L);
  EXPECT_EQ(Frac01(2), 0.0L);
  EXPECT_EQ(JDToT(2451545), 0.0L);
  EXPECT_EQ(TToJD(1), 2488070.0L);
  long double xs, ys, zs;
  SphToRect(xs, ys, zs, 90, 0, 2);
  EXPECT_NEAR(xs, 0, 1e-15L);
  EXPECT_NEAR(ys, 2, 1e-15L);
}

TEST(OpenTextFile, MissingFileReportsFalse) {
  std::ifstream f;
  EXPECT_FALSE(OpenTextFile(f, "/nonexistent/dir/NewSolarCanon.txt"));
}
