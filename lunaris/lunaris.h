/* lunaris -- the Moon from the lunar theory ELP 2000-82B (liblunaris.so).
 *
 * _clunaris(jd, &x, &y, &z, &lon, &lat, &dist)
 *
 * Given:
 *   jd    Julian date, dynamical time (TDT; TDB is not distinguished)
 * Returned:
 *   lon   apparent geocentric ecliptic longitude of the Moon, radians in
 *         [0, 2pi): mean ecliptic and equinox of date plus the nutation in
 *         longitude (IAU 1980), with one light-time step, no aberration
 *   lat   geocentric ecliptic latitude of date, radians
 *   dist  geocentric distance, AU
 *   x,y,z rectangular coordinates of that same position, AU:
 *         dist*cos(lat)*cos(lon), dist*cos(lat)*sin(lon), dist*sin(lat)
 *
 * Notes:
 *   - The position is that of the geometric ELP 2000-82B Moon at jd - tau,
 *     tau = 0.0057755183 * dist(jd) days (light time for the distance in AU;
 *     one step, no iteration); the nutation is taken at jd.
 *   - Tidal acceleration: ELP 2000-82B's mean longitude W1 carries
 *     ndot = -23.8946"/cy^2; lunaris uses ndot = -25.858"/cy^2, the value
 *     of the NASA Five Millennium Canon of Solar Eclipses (F. Espenak,
 *     J. Meeus, NASA/TP-2006-214141, 2006; from J. Chapront,
 *     M. Chapront-Touze, G. Francou, A&A 387, 700, 2002).  W1 gains
 *     1/2 (-25.858 + 23.8946) t^2 = -0.9817 t^2 arcsec (t in Julian
 *     centuries from J2000), and so do D, l and F, which are W1 minus the
 *     Sun's longitude, the perigee and the node: the Moon runs along its
 *     orbit as the canon's Moon does (0 at J2000, -9" in 1700, -393" in
 *     the year 0).
 *   - Mean motion: W1's t-coefficient is 1 732 559 343.346556"/cy, the
 *     mean longitude of J. Meeus, Astronomical Algorithms, 2nd ed. (1998),
 *     eq. 47.1 (481 267.881 234 21 deg/cy of date) less the precession
 *     p = 5029.0966"/cy, instead of ELP 2000-82B's 1 732 559 343.73604:
 *     -0.3895 t arcsec, the rate of the canon's Moon.  The mean elongation
 *     D takes it with W1; the anomaly l and the argument of latitude F keep
 *     ELP's rates.
 *   - The theory is fitted to DE200/LE200 and meant for some millennia
 *     around J2000; any finite jd is evaluated.  A non-finite jd, or one so
 *     far off that the computation overflows, gives NaN in all six outputs.
 *   - A null pointer among the six outputs is skipped (nothing is written
 *     there), as orbitcore's exports do.  Not re-entrant: the nutation keeps
 *     a one-entry cache (the program calls from one thread only).
 *
 * Reference: M. Chapront-Touze, J. Chapront, A&A 124, 50 (1983) and
 *   A&A 190, 342 (1988); notice "Lunar Solution ELP 2000-82B" (CDS VI/79);
 *   F. Espenak, J. Meeus, Five Millennium Canon of Solar Eclipses,
 *   NASA/TP-2006-214141 (2006), for ndot; J. Meeus, Astronomical
 *   Algorithms, 2nd ed. (1998), eq. 47.1, for W1's rate.
 */
#ifndef LUNARIS_LUNARIS_H
#define LUNARIS_LUNARIS_H

#if defined(LUNARIS_BUILDING)
#define LUNARIS_API __attribute__((visibility("default")))
#else
#define LUNARIS_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

LUNARIS_API void _clunaris(double jd, double* x, double* y, double* z,
                           double* lon, double* lat, double* dist);

#ifdef __cplusplus
}
#endif

#endif /* LUNARIS_LUNARIS_H */
