// BesselRec — eclipse type names (see BesselRec.h).
#include "astro/BesselRec.h"

namespace nodalis {

const char* const EclipseTypeNames[7] = {
    "keine ",
    "partielle ",
    "nichtzentrale ringf\xF6rmige ",
    "nichtzentrale totale ",
    "ringf\xF6rmige ",
    "totale ",
    "hybride ",
};

std::string EclipseText(const std::string& Noun, int TypeCode) {
  if (TypeCode < 0 || TypeCode > 6) return "? " + Noun;
  return EclipseTypeNames[TypeCode] + Noun;
}

}  // namespace nodalis
