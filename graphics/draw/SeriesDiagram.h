// SeriesDiagram.h — the Saros series diagram on the fundamental plane.
//
// DrawSeriesDiagram draws, through any drawing layer, all eclipses of the
// series in SeriesList as seen on the Besselian fundamental plane: the Earth
// as the unit disc at the origin, each member as a disc of its umbral radius
// at the shadow axis (x, y) of greatest eclipse coloured by eclipse type, the
// penumbrae of the first and last member with dated labels, optionally the
// straight shadow tracks, a cross at the reference instant, the title, the
// colour legend and the program's name. World units are equatorial Earth
// radii, x to the right, y upwards.
//
// Inputs (read at drawing time, never written): SeriesList, ReferenceJD,
// EkliptikalNordChecked, ShowSchattenbahnChecked, TitleCaption, TitleText.
#pragma once

#include "graphics/draw/GDIext.h"

namespace nodalis {

// Draws the complete diagram through GDI (a DrawProc).
void DrawSeriesDiagram(tGDIext& GDI);

// Fill and pen of an eclipse of type code EclType (0..6). For type 1 the
// fill depends on the sign of the umbral radius L2 (>= 0 dark red, < 0 dark
// blue). The pen is the fill's 24-bit value (blue high, red low) divided by
// two as one integer; type 0 takes a black pen. A code outside 0..6 keeps
// the fill and sets the pen from it.
void SetEclipseColors(tGDIext& GDI, int EclType, long double L2);

// Fill colour of type code EclType (0..6); L2 as above.
TColor EclipseFillColor(int EclType, long double L2);

// The world window of the diagram: x within +-2.2/sqrt(2), y within +-2.2
// Earth radii (the 1 : sqrt(2) proportion of the picture), single precision.
constexpr float DIAGRAM_HALF_HEIGHT = 2.2f;
constexpr float DIAGRAM_HALF_WIDTH = 1.5556349754f;  // 2.2f / sqrtf(2), rounded once

}  // namespace nodalis
