// The main window's commands right after the program's start with the
// computer clock at Clock (Julian date), "Auto" ticked, equator north and
// no series yet: the state every command test begins in.
#pragma once

#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"
#include "astro/TIMLIB.h"

namespace nodalis_test {

inline nodalis::SeriesCommands StartedAt(long double Clock) {
  nodalis::ClockJD = Clock;
  nodalis::EkliptikalNordChecked = false;
  nodalis::SeriesList.clear();
  nodalis::SeriesCommands c;
  c.SetLunarMode(nodalis::LunarMode::Auto);
  c.Start();
  return c;
}

}  // namespace nodalis_test
