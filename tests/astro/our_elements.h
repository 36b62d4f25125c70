// Our polynomial Besselian elements of an eclipse of the canon's fixture
// (canon_besselian.h): greatest eclipse found from the new moon nearest the
// canon's, as the series builder finds it, then FitBesselPolynomials with
// the given Delta T.  The Moon is the one UseLunarLib selects.
#pragma once

#include "astro/Astrcalc.h"
#include "astro/BesselPolynomialFit.h"
#include "tests/astro/canon_besselian.h"

namespace nodalis::test {

inline bool OurElements(const CanonElementsRow& r, long double DeltaTSeconds, BesselPolynomials& P) {
  const bool tdt = TimesAreTDT;
  TimesAreTDT = true;
  long double nm = r.p.JDGreatestTD, beta = 0;
  const bool found = FindNewMoon(nm, beta, 0);
  TimesAreTDT = tdt;
  BesselRec rec;
  if (!found || CalcEclipse(0, true, rec, nm) == ECL_NONE) return false;
  return FitBesselPolynomials(rec.JDMax, DeltaTSeconds, P);
}

}  // namespace nodalis::test
