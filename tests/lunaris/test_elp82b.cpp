// ELP 2000-82B evaluation against the authors' check values (the theory as
// published: ndot = -23.8946"/cy^2, W1's rate 1 732 559 343.73604"/cy), the
// changes to the canon's tidal acceleration and mean motion, and an
// independent precession to the ecliptic of date.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lunaris/elp82b.h"

#include <erfa.h>

namespace {

constexpr double RAD_TO_DEG = 180.0 / 3.14159265358979323846;
constexpr double RAD_TO_ARCSEC = 3600.0 * RAD_TO_DEG;

struct TableHRow {
  double jd;            // TDB
  double xyz_km[2][3];  // [0]: PREC = 0 (complete); [1]: PREC = 5e-5"
};

// Table H of the notice "Lunar Solution ELP 2000-82B" (Chapront-Touze,
// Chapront, Francou, CDS VI/79): geocentric x, y, z of the Moon, inertial
// mean ecliptic and equinox of J2000, km.
const TableHRow TABLE_H[] = {
    {2469000.5, {{-361602.98536, 44996.99510, -30696.65316},
                 {-361602.98481, 44996.99625, -30696.65152}}},
    {2449000.5, {{-363132.34248, 35863.65378, -33196.00409},
                 {-363132.34305, 35863.65187, -33196.00375}}},
    {2429000.5, {{-371577.58161, 75271.14315, -32227.94618},
                 {-371577.58019, 75271.14665, -32227.94680}}},
    {2409000.5, {{-373896.15893, 127406.79129, -30037.79225},
                 {-373896.15545, 127406.79153, -30037.79289}}},
    {2389000.5, {{-346331.77361, 206365.40364, -28502.11732},
                 {-346331.77862, 206365.40382, -28502.11773}}},
};

// Table H prints five decimals of a km.
constexpr double TABLE_H_TOLERANCE_KM = 1e-5;

// Table H belongs to ELP 2000-82B as published: evaluated with its own tidal
// acceleration and mean motion, not lunaris' defaults.
TEST(Elp82b, ReproducesTableHForItsTruncation) {
  const double prec = lunaris::elp82b_truncation_arcsec();
  ASSERT_TRUE(prec == 0.0 || prec == 5e-5) << "Table H has rows for PREC 0 and 5e-5\" only";
  const int column = prec == 0.0 ? 0 : 1;
  for (const TableHRow& row : TABLE_H) {
    double got[3];
    lunaris::elp82b_ecliptic_j2000(row.jd, got, lunaris::ELP82B_SECULAR);
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(std::isfinite(got[i]));
      EXPECT_NEAR(got[i], row.xyz_km[column][i], TABLE_H_TOLERANCE_KM)
          << "JD " << row.jd << " PREC " << prec << "\" coordinate " << "xyz"[i]
          << ": want " << row.xyz_km[column][i] << " km, got " << got[i] << " km";
    }
  }
}

// lunaris' tidal acceleration (-25.858"/cy^2 instead of ELP's -23.8946)
// moves the Moon along its orbit by dW1 = 1/2 (ndot - ndot_ELP) t^2: nothing
// at J2000; elsewhere, averaged over three years (the periodic terms, which
// follow the shifted D, l, F, average out), the longitude moves by dW1 and
// the latitude and distance do not move, while the latitude at each date
// shows that F was shifted too.
TEST(Elp82b, CanonTidalAccelerationShiftsTheMeanLongitude) {
  // Both with ELP's rate of W1: the tidal acceleration alone.
  const lunaris::Secular tidal = {lunaris::NDOT_ARCSEC_CY2, lunaris::W1_RATE_ELP82B_ARCSEC_CY};
  constexpr double MEAN_SHIFT_TOLERANCE = 0.002;    // of dW1
  constexpr double MEAN_LAT_TOLERANCE_ARCSEC = 1.0;
  constexpr double MEAN_DIST_TOLERANCE_KM = 1.0;
  constexpr double LAT_SWING_MIN = 0.10, LAT_SWING_MAX = 0.115;  // of dW1
  constexpr int SAMPLES = 800;                      // every 1.37 days
  const double dndot = lunaris::NDOT_ARCSEC_CY2 - lunaris::NDOT_ELP82B_ARCSEC_CY2;
  {
    double v0, u0, r0, v1, u1, r1;
    lunaris::elp82b_geometric(2451545.0, &v0, &u0, &r0, tidal);
    lunaris::elp82b_geometric(2451545.0, &v1, &u1, &r1, lunaris::ELP82B_SECULAR);
    EXPECT_EQ(v0, v1);
    EXPECT_EQ(u0, u1);
    EXPECT_EQ(r0, r1);
  }
  for (double t : {-35.0, -20.0, -5.0, 5.0, 10.0}) {
    double dv = 0.0, du = 0.0, dr = 0.0, max_du = 0.0;
    for (int k = 0; k < SAMPLES; ++k) {
      const double jd = 2451545.0 + t * 36525.0 + 1.37 * k;
      double v0, u0, r0, v1, u1, r1;
      lunaris::elp82b_geometric(jd, &v0, &u0, &r0, tidal);
      lunaris::elp82b_geometric(jd, &v1, &u1, &r1, lunaris::ELP82B_SECULAR);
      ASSERT_TRUE(std::isfinite(v0) && std::isfinite(u0) && std::isfinite(r0)) << jd;
      dv += std::remainder(v0 - v1, 2.0 * 3.14159265358979323846) * RAD_TO_ARCSEC;
      du += (u0 - u1) * RAD_TO_ARCSEC;
      max_du = std::max(max_du, std::fabs(u0 - u1) * RAD_TO_ARCSEC);
      dr += r0 - r1;
    }
    const double tm = t + 0.5 * 1.37 * SAMPLES / 36525.0;   // middle of the window
    const double want = 0.5 * dndot * tm * tm;
    EXPECT_NEAR(dv / SAMPLES, want, MEAN_SHIFT_TOLERANCE * std::fabs(want))
        << "t = " << t << " cy: want mean shift " << want << "\", got " << dv / SAMPLES;
    EXPECT_NEAR(du / SAMPLES, 0.0, MEAN_LAT_TOLERANCE_ARCSEC) << "t = " << t;
    EXPECT_NEAR(dr / SAMPLES, 0.0, MEAN_DIST_TOLERANCE_KM) << "t = " << t;
    // F moves with W1: the latitude's terms 18461" sin F, 1010" sin(l + F),
    // 1000" sin(l - F) ... swing by about 0.107 dW1 (0.01 if F stayed).
    EXPECT_GE(max_du, LAT_SWING_MIN * std::fabs(want)) << "t = " << t;
    EXPECT_LE(max_du, LAT_SWING_MAX * std::fabs(want)) << "t = " << t;
  }
}

// lunaris' rate of W1 (Meeus' mean longitude, 0.3895"/cy below ELP's)
// moves the Moon along the ecliptic: over three years the longitude moves
// by dnu t; D moves with W1, l and F do not.  So the latitude moves only
// through the terms in D (623" sin(2D - F), 166" sin(2D + F - l), ...),
// about 0.012 of the shift, where moving F would give the 0.107 of the
// tidal test above; and the distance through 2956 km cos 2D and 3699 km
// cos(2D - l), at most 2 (2956 + 3699) = 13310 km per radian of the shift,
// where moving l would add up to 20905 km per radian (20905 km cos l).
TEST(Elp82b, CanonMeanMotionMovesTheMoonAlongTheEcliptic) {
  constexpr double MEAN_SHIFT_TOLERANCE = 0.002;   // of dnu t
  constexpr double MEAN_LAT_TOLERANCE_ARCSEC = 0.01;
  constexpr double MEAN_DIST_TOLERANCE_KM = 0.05;
  constexpr double LAT_SWING_MAX = 0.015;          // of dnu t
  constexpr double DIST_KM_PER_RAD_MIN = 12000.0, DIST_KM_PER_RAD_MAX = 16000.0;
  constexpr int SAMPLES = 800;                     // every 1.37 days
  const lunaris::Secular elp_rate = {lunaris::NDOT_ARCSEC_CY2, lunaris::W1_RATE_ELP82B_ARCSEC_CY};
  const double dnu = lunaris::W1_RATE_ARCSEC_CY - lunaris::W1_RATE_ELP82B_ARCSEC_CY;
  EXPECT_NEAR(dnu, -0.389484, 1e-6);
  {
    double v0, u0, r0, v1, u1, r1;
    lunaris::elp82b_geometric(2451545.0, &v0, &u0, &r0);
    lunaris::elp82b_geometric(2451545.0, &v1, &u1, &r1, elp_rate);
    EXPECT_EQ(v0, v1);
    EXPECT_EQ(u0, u1);
    EXPECT_EQ(r0, r1);
  }
  for (double t : {-40.0, -20.0, -5.0, 5.0, 10.0}) {
    double dv = 0.0, du = 0.0, dr = 0.0, max_du = 0.0, max_dr = 0.0;
    for (int k = 0; k < SAMPLES; ++k) {
      const double jd = 2451545.0 + t * 36525.0 + 1.37 * k;
      double v0, u0, r0, v1, u1, r1;
      lunaris::elp82b_geometric(jd, &v0, &u0, &r0);
      lunaris::elp82b_geometric(jd, &v1, &u1, &r1, elp_rate);
      ASSERT_TRUE(std::isfinite(v0) && std::isfinite(u0) && std::isfinite(r0)) << jd;
      dv += std::remainder(v0 - v1, 2.0 * 3.14159265358979323846) * RAD_TO_ARCSEC;
      du += (u0 - u1) * RAD_TO_ARCSEC;
      dr += r0 - r1;
      max_du = std::max(max_du, std::fabs(u0 - u1) * RAD_TO_ARCSEC);
      max_dr = std::max(max_dr, std::fabs(r0 - r1));
    }
    const double tm = t + 0.5 * 1.37 * SAMPLES / 36525.0;
    const double want = dnu * tm;
    EXPECT_NEAR(dv / SAMPLES, want, MEAN_SHIFT_TOLERANCE * std::fabs(want))
        << "t = " << t << " cy: want mean shift " << want << "\", got " << dv / SAMPLES;
    EXPECT_NEAR(du / SAMPLES, 0.0, MEAN_LAT_TOLERANCE_ARCSEC) << "t = " << t;
    EXPECT_NEAR(dr / SAMPLES, 0.0, MEAN_DIST_TOLERANCE_KM) << "t = " << t;
    EXPECT_LE(max_du, LAT_SWING_MAX * std::fabs(want)) << "t = " << t;
    const double km_per_rad = max_dr / (std::fabs(want) / RAD_TO_ARCSEC);
    EXPECT_GE(km_per_rad, DIST_KM_PER_RAD_MIN) << "t = " << t;
    EXPECT_LE(km_per_rad, DIST_KM_PER_RAD_MAX) << "t = " << t;
  }
}

// The notice's Table H dates with lunaris' secular constants: the
// longitude differs from ELP 2000-82B as published by the change of W1,
// dW1 = dnu t + 1/2 dndot t^2 (from -2.21" in 1600 to -0.41" in 2047), to
// within the terms in D, l and F that move with it (at most 0.13 of dW1
// here); the latitude by the terms in F (0.107 of the tidal part, which
// moves F) and in D (0.012 of the rate's part); the distance by 0.17 km per
// arcsec of the tidal part (D, l, F) and 0.065 km per arcsec of the rate's
// part (D).
TEST(Elp82b, TableHDatesMoveByTheSecularChangesOnly) {
  constexpr double LON_SHARE = 0.15;
  constexpr double LAT_SHARE_TIDAL = 0.11, LAT_SHARE_RATE = 0.015;
  constexpr double KM_PER_ARCSEC_TIDAL = 0.17, KM_PER_ARCSEC_RATE = 0.07;
  const double dnu = lunaris::W1_RATE_ARCSEC_CY - lunaris::W1_RATE_ELP82B_ARCSEC_CY;
  const double dndot = lunaris::NDOT_ARCSEC_CY2 - lunaris::NDOT_ELP82B_ARCSEC_CY2;
  for (const TableHRow& row : TABLE_H) {
    double a[3], b[3];
    lunaris::elp82b_ecliptic_j2000(row.jd, a);
    lunaris::elp82b_ecliptic_j2000(row.jd, b, lunaris::ELP82B_SECULAR);
    for (double v : a) ASSERT_TRUE(std::isfinite(v)) << row.jd;
    double la, ba, lb, bb;
    eraC2s(a, &la, &ba);
    eraC2s(b, &lb, &bb);
    const double t = (row.jd - 2451545.0) / 36525.0;
    const double rate = dnu * t, tidal = 0.5 * dndot * t * t;
    const double dlon = std::remainder(la - lb, 2 * 3.14159265358979323846) * RAD_TO_ARCSEC;
    const double dlat = (ba - bb) * RAD_TO_ARCSEC;
    const double dr = eraPm(a) - eraPm(b);
    EXPECT_NEAR(dlon, rate + tidal, LON_SHARE * std::fabs(rate + tidal))
        << "JD " << row.jd << ": want " << rate + tidal << "\"";
    EXPECT_LE(std::fabs(dlat), LAT_SHARE_TIDAL * std::fabs(tidal) + LAT_SHARE_RATE * std::fabs(rate))
        << "JD " << row.jd << ": latitude moved by " << dlat << "\"";
    EXPECT_LE(std::fabs(dr), KM_PER_ARCSEC_TIDAL * std::fabs(tidal) +
                                 KM_PER_ARCSEC_RATE * std::fabs(rate))
        << "JD " << row.jd << ": distance moved by " << dr << " km";
    std::printf("[ elp82b ] Table H JD %.1f: lunaris - ELP 2000-82B %+.3f\" in longitude "
                "(W1 %+.3f\"), %+.3f\" in latitude, %+.3f km\n",
                row.jd, dlon, rate + tidal, dlat, dr);
  }
}

TEST(Elp82b, AbbreviatedLightTimeDistanceWithinFiftyKilometres) {
  // Sizes the light-time step only: 50 km is 1.7e-4 s of light time, during
  // which the Moon moves less than 1e-4".  Within a few centuries of J2000
  // the abbreviation is good to ~5 km; the Poisson terms it leaves out grow
  // with |t|.
  constexpr double LIGHT_TIME_DISTANCE_TOLERANCE_KM = 50.0;
  for (double jd = 1000000.5; jd < 2900000.0; jd += 37123.37) {
    double v, u, r;
    lunaris::elp82b_geometric(jd, &v, &u, &r);
    const double got = lunaris::elp82b_light_time_distance(jd);
    EXPECT_NEAR(got, r, LIGHT_TIME_DISTANCE_TOLERANCE_KM) << "JD " << jd;
  }
}

// Meeus, Astronomical Algorithms (2nd ed.), example 47.a: 1992 April 12,
// 0h TD, from his 60-term abbreviation of ELP 2000-82: geometric mean-of-date
// lambda 133.162655 deg, beta -3.229126 deg, Delta 368409.7 km.  Meeus gives
// the abbreviation's accuracy as about 10" in longitude and 4" in latitude;
// its distance differs from the full theory by a few km.
TEST(Elp82b, MeanOfDateMatchesMeeusExample47a) {
  constexpr double MEEUS_LON_TOLERANCE_ARCSEC = 10.0;
  constexpr double MEEUS_LAT_TOLERANCE_ARCSEC = 4.0;
  constexpr double MEEUS_DIST_TOLERANCE_KM = 10.0;
  double lon, lat, r;
  lunaris::elp82b_mean_of_date(2448724.5, &lon, &lat, &r);
  EXPECT_NEAR(lon * RAD_TO_DEG * 3600.0, 133.162655 * 3600.0, MEEUS_LON_TOLERANCE_ARCSEC)
      << "want 133.162655 deg, got " << lon * RAD_TO_DEG;
  EXPECT_NEAR(lat * RAD_TO_DEG * 3600.0, -3.229126 * 3600.0, MEEUS_LAT_TOLERANCE_ARCSEC)
      << "want -3.229126 deg, got " << lat * RAD_TO_DEG;
  EXPECT_NEAR(r, 368409.7, MEEUS_DIST_TOLERANCE_KM) << "want 368409.7 km, got " << r;
}

// The of-date longitude V + p_A against the J2000 position carried to the
// mean ecliptic and equinox of date by the IAU 1976 precession (ERFA
// eraPmat76, eraObl80): the two precession models agree to about 0.01"
// between 1800 and 2100.
TEST(Elp82b, MeanOfDateAgreesWithIau1976PrecessionOfJ2000Position) {
  constexpr double PRECESSION_MODEL_TOLERANCE_ARCSEC = 0.02;
  const double eps0 = eraObl80(2451545.0, 0.0);
  double dates[6] = {2448724.5};
  for (int i = 0; i < 5; ++i) dates[i + 1] = TABLE_H[i].jd;
  for (double jd : dates) {
    double ecl[3];
    lunaris::elp82b_ecliptic_j2000(jd, ecl);
    double equ[3];   // ecliptic J2000 -> equator J2000
    double r0[3][3];
    eraIr(r0);
    eraRx(-eps0, r0);
    eraRxp(r0, ecl, equ);
    double pm[3][3];
    eraPmat76(2400000.5, jd - 2400000.5, pm);
    double equ_date[3];
    eraRxp(pm, equ, equ_date);
    double r1[3][3];   // equator of date -> mean ecliptic of date
    eraIr(r1);
    eraRx(eraObl80(2400000.5, jd - 2400000.5), r1);
    double ecl_date[3];
    eraRxp(r1, equ_date, ecl_date);
    double want_lon, want_lat;
    eraC2s(ecl_date, &want_lon, &want_lat);

    double lon, lat, r;
    lunaris::elp82b_mean_of_date(jd, &lon, &lat, &r);
    const double dlon = std::remainder(lon - want_lon, 2.0 * 3.14159265358979323846);
    EXPECT_LT(std::fabs(dlon) * RAD_TO_ARCSEC, PRECESSION_MODEL_TOLERANCE_ARCSEC)
        << "JD " << jd << ": want lon " << eraAnp(want_lon) * RAD_TO_DEG << " deg, got "
        << lon * RAD_TO_DEG;
    EXPECT_LT(std::fabs(lat - want_lat) * RAD_TO_ARCSEC, PRECESSION_MODEL_TOLERANCE_ARCSEC)
        << "JD " << jd << ": want lat " << want_lat * RAD_TO_DEG << " deg, got "
        << lat * RAD_TO_DEG;
  }
}

}  // namespace
