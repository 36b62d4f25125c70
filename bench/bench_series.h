// A Saros series on screen and its members' polynomial elements, for the
// benchmarks of the paths and of the local circumstances (set up outside
// the timing).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/DeltaTModel.h"

namespace nodalis::bench {

// The series on screen after "Gehe zu:" Saros, with ELP2000.
inline std::vector<std::string> SeriesOnScreen(int32_t Saros) {
  SeriesCommands c;
  c.SetLunarMode(LunarMode::ELP2000);
  c.Start();
  c.SarosField = Saros;
  c.ChangeSaros(0);
  return SeriesList;
}

// The polynomial elements of every eclipse member of List, with the
// program's Delta T.
inline std::vector<BesselPolynomials> MemberElements(const std::vector<std::string>& List) {
  std::vector<BesselPolynomials> members;
  for (const TableRow& r : SeriesTableRows(List, false, 0)) {
    BesselPolynomials P;
    if (r.Rec.EclType != ECL_NONE &&
        FitBesselPolynomials(r.Rec.JDMax, DeltaTSeconds(DeltaTModel::Nodalis, r.Rec.JDMax), P))
      members.push_back(P);
  }
  return members;
}

}  // namespace nodalis::bench
