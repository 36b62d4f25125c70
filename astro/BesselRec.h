// BesselRec — one solar eclipse: Besselian elements at greatest eclipse,
// gamma, type and Saros series, and the eclipse type names.
//
// Lengths in equatorial Earth radii; cone angles in degrees; times as Julian
// dates (TDT) or Julian centuries from J2000.0.
#pragma once

#include <cstdint>
#include <string>

#include "astro/MATLIB.h"

namespace nodalis {

struct BesselRec {
  float Gamma = 0;        // signed distance of the shadow axis at greatest eclipse
                          // (sign of Y); type-0 records: sin(beta_moon) * Delta_moon
  float DeltaTDays = 0;   // Delta T used, days (0 when the input is TDT)
  long double Slope = 0;  // dy/dx of the shadow track at greatest eclipse
  long double X = 0;      // Besselian x of the shadow axis
  long double Y = 0;      // Besselian y of the shadow axis
  long double F1 = 0;     // semi-vertex angle of the penumbral cone, degrees
  long double L1 = 0;     // penumbral radius on the fundamental plane
  long double F2 = 0;     // semi-vertex angle of the umbral cone, degrees
  long double L2 = 0;     // umbral radius: < 0 total, > 0 annular
  long double TMax = 0;   // greatest eclipse, Julian centuries, input time scale
  long double JDMax = 0;  // greatest eclipse, Julian date TDT
  TVector Axes[3];        // x axis, y axis, shadow axis (towards the Sun), equator of date
  int32_t SarosNo = 0;    // Saros series number
  uint8_t EclType = 0;    // 0..6, see EclipseTypeNames
  std::string TypeText;   // adjective + "Finsternis"
  std::string SarosText;  // "145. Saros, Ära M"
};

// Eclipse type codes.
enum : uint8_t {
  ECL_NONE = 0,
  ECL_PARTIAL = 1,
  ECL_NONCENTRAL_ANNULAR = 2,
  ECL_NONCENTRAL_TOTAL = 3,
  ECL_ANNULAR = 4,
  ECL_TOTAL = 5,
  ECL_HYBRID = 6,
};

// Adjectives (Windows-1252), each ending in one blank: "keine ", "partielle ",
// "nichtzentrale ringförmige ", "nichtzentrale totale ", "ringförmige ",
// "totale ", "hybride ".
extern const char* const EclipseTypeNames[7];

// EclipseTypeNames[TypeCode] + Noun; a code outside 0..6 gives "? " + Noun.
std::string EclipseText(const std::string& Noun, int TypeCode);

}  // namespace nodalis
