// Member lines: the text carrier of series data between builders, table and
// diagram.  What a user relies on: a written line reads back to the shown
// precision, the type text is rebuilt, and bad lines never give garbage.
#include <gtest/gtest.h>

#include <cmath>

#include "app/core/MemberLine.h"
#include "app/base/Utils.h"

using namespace nodalis;

namespace {
BesselRec Sample() {
  BesselRec r;
  r.JDMax = 2457987.26769444L;
  r.DeltaTDays = 0;
  r.Gamma = 0.43671f;
  r.X = -0.12941234L;
  r.Y = 0.41722222L;
  r.L1 = 0.54212345L;
  r.L2 = -0.00398765L;
  r.F1 = 0.26620001L;
  r.F2 = 0.26487777L;
  r.Slope = 0.48761111L;
  r.EclType = ECL_TOTAL;
  r.SarosNo = 145;
  return r;
}
}  // namespace

TEST(MemberLine, ExactTextOfOneMember) {
  EXPECT_EQ(MemberLine(Sample()),
            "2457987.267694 dT 0.000000 Gam 0.437 x-0.1294 y 0.4172 rP 0.5421 "
            "rU-0.0040 AP 0.2662 AU 0.2649 incl  0.4876 Max 5 Sar 145");
}

TEST(MemberLine, RoundTripKeepsShownPrecision) {
  const BesselRec in = Sample();
  std::vector<std::string> list;
  AppendMemberLine(in, list);
  ASSERT_EQ(list.size(), 1u);
  BesselRec out;
  out.SarosText = "untouched";
  ASSERT_TRUE(ParseMemberLine(list[0], out));
  const long double DAY_6DEC = 0.5e-6L, EL_4DEC = 0.5e-4L, GAM_3DEC = 0.5e-3L;
  EXPECT_NEAR(out.JDMax, in.JDMax, DAY_6DEC);
  EXPECT_NEAR(out.Gamma, in.Gamma, GAM_3DEC);
  EXPECT_NEAR(out.X, in.X, EL_4DEC);
  EXPECT_NEAR(out.Y, in.Y, EL_4DEC);
  EXPECT_NEAR(out.L1, in.L1, EL_4DEC);
  EXPECT_NEAR(out.L2, in.L2, EL_4DEC);
  EXPECT_NEAR(out.F1, in.F1, EL_4DEC);
  EXPECT_NEAR(out.F2, in.F2, EL_4DEC);
  EXPECT_NEAR(out.Slope, in.Slope, EL_4DEC);
  EXPECT_EQ(out.EclType, ECL_TOTAL);
  EXPECT_EQ(out.SarosNo, 145);
  EXPECT_EQ(out.TypeText, "totale Finsternis");
  EXPECT_EQ(out.SarosText, "untouched");
  // Written again, the line is identical (stable under repeated round trips).
  EXPECT_EQ(MemberLine(out), list[0]);
}

TEST(MemberLine, NegativeSarosAndTypeZero) {
  BesselRec r = Sample();
  r.SarosNo = -13;
  r.EclType = ECL_NONE;
  r.Gamma = -1.2345f;
  BesselRec out;
  ASSERT_TRUE(ParseMemberLine(MemberLine(r), out));
  EXPECT_EQ(out.SarosNo, -13);
  EXPECT_EQ(out.EclType, ECL_NONE);
  EXPECT_NEAR(out.Gamma, -1.235f, 1e-6f);  // Gamma as single
  EXPECT_EQ(out.TypeText, "keine Finsternis");
}

TEST(MemberLine, BadLinesGiveTypeZeroAndFiniteValues) {
  const char* bad[] = {"", "2451545.0 Ende", "x Max 9 Sar 1", "1e99999 Gam nan",
                       "\xFF\xFE\x01", "Max -3"};
  for (const char* line : bad) {
    BesselRec r;
    ParseMemberLine(line, r);
    EXPECT_LE(r.EclType, 6) << line;
    EXPECT_TRUE(std::isfinite(r.JDMax) && std::isfinite(r.Gamma) && std::isfinite(r.X))
        << line;
  }
  BesselRec r;
  EXPECT_FALSE(ParseMemberLine("1 2 3 4 5 6 7 8 9 10 9 145", r));
  EXPECT_EQ(r.EclType, 0);
}

TEST(EclipseText, TypeNamesWithNoun) {
  EXPECT_EQ(EclipseText("Finsternis", 2), "nichtzentrale ringf\xF6rmige Finsternis");
  EXPECT_EQ(EclipseText("Finsternis", 6), "hybride Finsternis");
  EXPECT_EQ(EclipseText("X", 7), "? X");
}
