// orbitcore-now — the apparent Sun and Moon for the present instant.
//
// Reads the system clock (UTC), turns it into dynamical time with Delta T
// (_jddtojdb) and prints for the Sun (body 1020, complete Earth series) and
// the Moon (body 1011) the apparent ecliptic longitude and latitude of date
// (degrees), right ascension (hours) and declination (degrees) of date and
// the geocentric distance (AU and km).  An optional first argument gives the
// Julian date (UTC) to use instead of the clock.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "ephem/orbitcore.h"

namespace {

constexpr double DEG_PER_RAD = 57.29577951308232;
constexpr double KM_PER_AU = 149597870.691;
constexpr double UNIX_EPOCH_JD = 2440587.5;

void print_body(const char* name, double jd_tdt, int body) {
  double ra, dec, delta, r, elong, illum, mag, diam, lon, lat;
  _calcplanet(jd_tdt, body, &ra, &dec, &delta, &r, &elong, &illum, &mag,
              &diam, &lon, &lat, 1, 1, 1, 1);
  std::printf("%-5s  lon %11.6f deg  lat %+10.6f deg  RA %10.6f h  "
              "Dec %+11.6f deg  dist %.9f AU (%.1f km)\n",
              name, lon * DEG_PER_RAD, lat * DEG_PER_RAD,
              ra * DEG_PER_RAD / 15.0, dec * DEG_PER_RAD, delta,
              delta * KM_PER_AU);
}

}  // namespace

int main(int argc, char** argv) {
  double jd_utc;
  if (argc > 1) {
    char* end = nullptr;
    jd_utc = std::strtod(argv[1], &end);
    if (end == argv[1] || *end != '\0' || !std::isfinite(jd_utc) ||
        std::fabs(jd_utc) > 1e8) {
      std::fprintf(stderr, "orbitcore-now: not a Julian date: %s\n", argv[1]);
      return 2;
    }
  } else {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double seconds =
        std::chrono::duration_cast<std::chrono::duration<double>>(now).count();
    jd_utc = UNIX_EPOCH_JD + seconds / 86400.0;
  }
  const double jd_tdt = _jddtojdb(jd_utc);
  std::printf("orbitcore: apparent geocentric places, ecliptic and equator of date\n");
  std::printf("JD %.6f UTC = JD %.6f TDT (Delta T %.1f s)\n", jd_utc, jd_tdt,
              (jd_tdt - jd_utc) * 86400.0);
  print_body("Sun", jd_tdt, 1020);
  print_body("Moon", jd_tdt, 1011);
  return 0;
}
