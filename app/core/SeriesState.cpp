// SeriesState — definitions of the program-wide series state.
#include "app/core/SeriesState.h"

namespace nodalis {

std::vector<std::string> SeriesList;
long double ReferenceJD = 2444555.0L;
bool EkliptikalNordChecked = false;
bool ShowSchattenbahnChecked = false;
std::string TitleCaption;
const std::string TitleText = "Nodalis Beta V. 05.02.2010";

}  // namespace nodalis
