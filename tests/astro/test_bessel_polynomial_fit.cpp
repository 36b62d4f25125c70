// Polynomial Besselian elements from our ephemeris (FitBesselPolynomials)
// against the exact elements they are fitted to, and against the polynomial
// elements of the Five Millennium Canon (F. Espenak and J. Meeus,
// NASA/TP-2006-214141, 2006; fixture canon_besselian.csv, extracted by
// tools/extract_besselian_fixture.py; Eclipse Predictions by Fred Espenak,
// NASA's GSFC), with the Moon from lunaris ("ELP2000") and the canon's
// Delta T (DeltaTModel::EspenakMeeus2006).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "astro/Astrcalc.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/DeltaTModel.h"
#include "tests/astro/canon_besselian.h"
#include "tests/astro/our_elements.h"

using namespace nodalis;
using nodalis::test::CanonBesselian;
using nodalis::test::CanonElementsRow;

namespace {
// The fit against the exact elements over t0 +- 3 h, every 5 minutes.
constexpr int RESIDUAL_SAMPLES = 72;
constexpr long double RESIDUAL_XY_ER = 2e-7L;     // 1.3 m
constexpr long double RESIDUAL_L_ER = 1e-7L;      // 0.6 m
constexpr long double RESIDUAL_D_DEG = 2e-7L;
constexpr long double RESIDUAL_MU_DEG = 5e-7L;

// Ours against the canon at the canon's t0, 1000-2500.  x and y differ
// mostly along the track, as the times of greatest eclipse differ (by
// up to 1 s; 0.55 Earth radii per hour); 1e-4 Earth radii are 0.64 km on
// the fundamental plane.  Every row of the canon 1000-2500: x 1.4e-4,
// y 6.6e-5.
constexpr long double XY_TOL_ER = 2e-4L;
constexpr long double XY_RATE_TOL_ER_H = 1e-6L;
constexpr long double D_TOL_DEG = 5e-5L;
constexpr long double D_RATE_TOL_DEG_H = 1e-6L;
constexpr long double MU_TOL_DEG = 3e-5L;
constexpr long double MU_RATE_TOL_DEG_H = 1e-5L;
constexpr long double L_TOL_ER = 7e-6L;
constexpr long double L_RATE_TOL_ER_H = 2e-7L;
constexpr long double TANF_TOL = 2e-7L;
constexpr long double DELTA_T_TOL_S = 0.1;  // the canon gives 0.1 s

constexpr long double HOURS_PER_DAY = 24;

// Our polynomial elements of the canon's eclipse, with the canon's Delta T
// model.
bool Ours(const CanonElementsRow& r, BesselPolynomials& P) {
  return nodalis::test::OurElements(r, DeltaTSeconds(DeltaTModel::EspenakMeeus2006, r.p.JDGreatestTD), P);
}

void ExpectFinite(const BesselPolynomials& P, const std::string& id) {
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(std::isfinite(P.X[k]) && std::isfinite(P.Y[k])) << id;
  for (int k = 0; k < 3; ++k)
    EXPECT_TRUE(std::isfinite(P.DDeg[k]) && std::isfinite(P.MuDeg[k]) && std::isfinite(P.L1[k]) &&
                std::isfinite(P.L2[k]))
        << id;
  EXPECT_TRUE(std::isfinite(P.TanF1) && std::isfinite(P.TanF2) && std::isfinite(P.DeltaTSeconds)) << id;
}

struct Worst {
  const char* name;
  long double value = 0;
  void Add(long double d) { value = std::fmax(value, std::fabs(d)); }
};
}  // namespace

TEST(BesselPolynomialFit, ResidualAgainstTheExactElements) {
  // One eclipse a century -1999 .. 3000 and the named ones, both Moons.
  for (bool elp : {true, false}) {
    UseLunarLib = elp;
    Worst x{"x"}, y{"y"}, d{"d"}, mu{"mu"}, l1{"l1"}, l2{"l2"};
    int n = 0;
    for (const CanonElementsRow& r : CanonBesselian()) {
      if (r.saros == 136 || r.saros == 145) continue;  // the series: other tests
      BesselPolynomials P;
      ASSERT_TRUE(Ours(r, P)) << r.id();
      ExpectFinite(P, r.id());
      const BesselFitResidual res = MeasureBesselFitResidual(P, RESIDUAL_SAMPLES);
      EXPECT_LE(res.X, RESIDUAL_XY_ER) << r.id();
      EXPECT_LE(res.Y, RESIDUAL_XY_ER) << r.id();
      EXPECT_LE(res.L1, RESIDUAL_L_ER) << r.id();
      EXPECT_LE(res.L2, RESIDUAL_L_ER) << r.id();
      EXPECT_LE(res.DDeg, RESIDUAL_D_DEG) << r.id();
      EXPECT_LE(res.MuDeg, RESIDUAL_MU_DEG) << r.id();
      x.Add(res.X), y.Add(res.Y), d.Add(res.DDeg), mu.Add(res.MuDeg), l1.Add(res.L1), l2.Add(res.L2);
      ++n;
    }
    EXPECT_GE(n, 60);
    std::printf("  %s, %d eclipses: residual x %.2Le y %.2Le ER, d %.2Le mu %.2Le deg, "
                "l1 %.2Le l2 %.2Le ER\n",
                elp ? "ELP2000" : "DE404", n, x.value, y.value, d.value, mu.value, l1.value,
                l2.value);
  }
}

TEST(BesselPolynomialFit, T0IsTheWholeHourNearestGreatestEclipse) {
  UseLunarLib = true;
  // 2017 Aug 21, greatest eclipse 18:26 TD: t0 18:00 TD.
  const long double jd2017 = CalendarToJD(2017, 8, 21.0f) + (18 + 26.0L / 60) / HOURS_PER_DAY;
  BesselPolynomials P;
  ASSERT_TRUE(FitBesselPolynomials(jd2017, 70.3L, P));
  EXPECT_NEAR(static_cast<double>((P.JDT0TD - CalendarToJD(2017, 8, 21.0f)) * HOURS_PER_DAY), 18.0, 1e-9);
  EXPECT_DOUBLE_EQ(static_cast<double>(P.DeltaTSeconds), 70.3);
  // 23:40 TD rounds to midnight of the next day, 23:20 to 23:00.
  const long double day = CalendarToJD(2017, 8, 21.0f);
  EXPECT_NEAR(static_cast<double>(NearestWholeHourTD(day + 23.67L / 24) - (day + 1)), 0, 1e-12);
  EXPECT_NEAR(static_cast<double>(NearestWholeHourTD(day + 23.33L / 24) - (day + 23.0L / 24)), 0, 1e-12);
  EXPECT_NEAR(static_cast<double>(NearestWholeHourTD(day + 0.4L / 24) - day), 0, 1e-12);
}

TEST(BesselPolynomialFit, RefusesWhatItCannotFit) {
  BesselPolynomials P;
  P.X[0] = 42;
  EXPECT_FALSE(FitBesselPolynomials(std::nanl(""), 70, P));
  EXPECT_FALSE(FitBesselPolynomials(2457987.27L, std::nanl(""), P));
  EXPECT_FALSE(FitBesselPolynomials(MAX_SUPPORTED_JD, 0, P));
  EXPECT_FALSE(FitBesselPolynomials(MIN_SUPPORTED_JD, 0, P));
  EXPECT_EQ(P.X[0], 42) << "left unchanged";
}

// Every fixture eclipse of 1000-2500 (members of Saros 136 and 145, one a
// century, the named ones): values at the canon's t0 and their rates.
TEST(BesselPolynomialFit, AgreesWithTheCanon1000To2500) {
  UseLunarLib = true;
  Worst x{"x ER"}, y{"y ER"}, d{"d deg"}, mu{"mu deg"}, l1{"l1 ER"}, l2{"l2 ER"};
  Worst xr{"x' ER/h"}, yr{"y' ER/h"}, dr{"d' deg/h"}, mur{"mu' deg/h"}, l1r{"l1' ER/h"},
      l2r{"l2' ER/h"}, tf{"tan f"}, dt{"Delta T s"};
  int n = 0;
  for (const CanonElementsRow& r : CanonBesselian()) {
    if (r.year < 1000 || r.year > 2500) continue;
    BesselPolynomials P;
    ASSERT_TRUE(Ours(r, P)) << r.id();
    ExpectFinite(P, r.id());
    const long double t = (r.p.JDT0TD - P.JDT0TD) * HOURS_PER_DAY;
    EXPECT_LE(std::fabs(t), 1.0L) << r.id() << ": t0 within an hour of the canon's";
    const BesselianElementsAt o = EvaluateBesselPolynomials(P, t);
    const BesselianElementsAt c = EvaluateBesselPolynomials(r.p, 0);
    const long double dmu = std::remainder(o.MuDeg - c.MuDeg, 360.0L);
    EXPECT_LE(std::fabs(o.X - c.X), XY_TOL_ER) << r.id();
    EXPECT_LE(std::fabs(o.Y - c.Y), XY_TOL_ER) << r.id();
    EXPECT_LE(std::fabs(o.DDeg - c.DDeg), D_TOL_DEG) << r.id();
    EXPECT_LE(std::fabs(dmu), MU_TOL_DEG) << r.id();
    EXPECT_LE(std::fabs(o.L1 - c.L1), L_TOL_ER) << r.id();
    EXPECT_LE(std::fabs(o.L2 - c.L2), L_TOL_ER) << r.id();
    EXPECT_LE(std::fabs(o.XRate - c.XRate), XY_RATE_TOL_ER_H) << r.id();
    EXPECT_LE(std::fabs(o.YRate - c.YRate), XY_RATE_TOL_ER_H) << r.id();
    EXPECT_LE(std::fabs(o.DRateDeg - c.DRateDeg), D_RATE_TOL_DEG_H) << r.id();
    EXPECT_LE(std::fabs(o.MuRateDeg - c.MuRateDeg), MU_RATE_TOL_DEG_H) << r.id();
    EXPECT_LE(std::fabs(o.L1Rate - c.L1Rate), L_RATE_TOL_ER_H) << r.id();
    EXPECT_LE(std::fabs(o.L2Rate - c.L2Rate), L_RATE_TOL_ER_H) << r.id();
    EXPECT_LE(std::fabs(P.TanF1 - r.p.TanF1), TANF_TOL) << r.id();
    EXPECT_LE(std::fabs(P.TanF2 - r.p.TanF2), TANF_TOL) << r.id();
    EXPECT_LE(std::fabs(P.DeltaTSeconds - r.p.DeltaTSeconds), DELTA_T_TOL_S) << r.id();
    if (std::getenv("NODALIS_VERBOSE"))
      std::printf("%s dx %.2Le dy %.2Le dd %.2Le dmu %.2Le dl1 %.2Le  dt_x %.1Lf s\n", r.id().c_str(),
                  o.X - c.X, o.Y - c.Y, o.DDeg - c.DDeg, dmu, o.L1 - c.L1, (o.X - c.X) / c.XRate * 3600);
    x.Add(o.X - c.X), y.Add(o.Y - c.Y), d.Add(o.DDeg - c.DDeg), mu.Add(dmu);
    l1.Add(o.L1 - c.L1), l2.Add(o.L2 - c.L2);
    xr.Add(o.XRate - c.XRate), yr.Add(o.YRate - c.YRate), dr.Add(o.DRateDeg - c.DRateDeg);
    mur.Add(o.MuRateDeg - c.MuRateDeg), l1r.Add(o.L1Rate - c.L1Rate), l2r.Add(o.L2Rate - c.L2Rate);
    tf.Add(std::fmax(std::fabs(P.TanF1 - r.p.TanF1), std::fabs(P.TanF2 - r.p.TanF2)));
    dt.Add(P.DeltaTSeconds - r.p.DeltaTSeconds);
    ++n;
  }
  EXPECT_GE(n, 100);
  std::printf("  %d eclipses 1000-2500, largest |ours - canon| at t0:\n", n);
  for (const Worst* w : {&x, &y, &d, &mu, &l1, &l2, &xr, &yr, &dr, &mur, &l1r, &l2r, &tf, &dt})
    std::printf("    %-10s %.3Le\n", w->name, w->value);
}
