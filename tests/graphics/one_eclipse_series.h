// A series of one eclipse for the graph window's tests: the real diagram
// draws its background, the Earth disc and that one member.
#pragma once

#include "app/core/SeriesState.h"

namespace nodalis {

inline void LoadOneEclipse() {
  SeriesList = {"2459000.000000 Start (145)",
                "2460541.500000 dT 0.000000 Gam 0.500 x 0.1000 y 0.5000 rP 0.5500 rU-0.0100 AP "
                "0.2700 AU 0.2690 incl  0.2000 Max 5 Sar 145",
                "2467126.800000 Ende"};
  TitleCaption = "Saros 145";
  ReferenceJD = 0;
}

}  // namespace nodalis
