// DeltaTModel — Delta T by the program's rule or the canon's (see
// DeltaTModel.h).
#include "astro/DeltaTModel.h"

#include "astro/TIMLIB.h"

namespace nodalis {

namespace {
constexpr long double SECONDS_PER_DAY = 86400.0L;
// Correction of the Espenak-Meeus Delta T for ELP 2000-82's secular
// acceleration of the Moon, seconds per year^2 from 1955.
constexpr long double LUNAR_ACCELERATION_DT = -0.000012932L;
constexpr long double LUNAR_ACCELERATION_EPOCH_YEAR = 1955.0L;

// Decimal year of the calendar date of JD: year + elapsed fraction of it
// (Julian calendar before 1582 October 15).
long double CalendarDecimalYear(long double JD) {
  int Y, M;
  float D;
  JDToCalendar(JD, Y, M, D);
  const long double start = CalendarToJD(Y, 1, 1.0f);
  const long double length = CalendarToJD(Y + 1, 1, 1.0f) - start;
  return Y + (JD - start) / length;
}
}  // namespace

long double DeltaTSeconds(DeltaTModel Model, long double JD) {
  if (Model == DeltaTModel::EspenakMeeus2006) {
    const long double y = CalendarDecimalYear(JD);
    const long double dy = y - LUNAR_ACCELERATION_EPOCH_YEAR;
    return DeltaTPolynomialSeconds(static_cast<float>(y)) + LUNAR_ACCELERATION_DT * dy * dy;
  }
  float days;
  DeltaT(days, false, JD);
  return static_cast<long double>(days) * SECONDS_PER_DAY;
}

const char* DeltaTModelName(DeltaTModel Model) {
  return Model == DeltaTModel::EspenakMeeus2006 ? "espenak-meeus-2006" : "nodalis";
}

bool ParseDeltaTModel(const std::string& Name, DeltaTModel& Model) {
  for (DeltaTModel m : {DeltaTModel::Nodalis, DeltaTModel::EspenakMeeus2006}) {
    if (Name == DeltaTModelName(m)) {
      Model = m;
      return true;
    }
  }
  return false;
}

}  // namespace nodalis
