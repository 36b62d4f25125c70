/* A program of someone else's, built against the installed orbitcore with
 * pkg-config: the Sun's apparent longitude on 1992 October 13.0 TD (Meeus,
 * Astronomical Algorithms, example 25.b: 199 deg 54' 21.818"). */
#include <math.h>
#include <stdio.h>
#include <orbitcore.h>

int main(void) {
  const double deg = _planetinfo(2448908.5, 1020, 8) * 180.0 / 3.14159265358979323846;
  printf("%.6f\n", deg);
  return fabs(deg - (199.0 + 54.0 / 60 + 21.818 / 3600)) < 1.0 / 3600 ? 0 : 1;
}
