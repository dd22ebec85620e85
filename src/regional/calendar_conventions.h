#pragma once

#include <string>

#include "calendar/conventions.h"
#include "calendar/month_grid.h"

namespace tessaly {

// A locale's conventions, or why they could not be read (empty when they were).
struct ConventionsRead {
    CalendarConventions conventions;
    std::string error;
};

// The conventions of the locale `localeName` (as --locale names it; "" for the user's,
// whose names a calendar shows) for the months of `request`, read before anything is
// composed; never throws. On Linux from ICU, in a module loaded on first use; on Windows
// from the system's locale data, the weekend from the system's ICU (icu.dll), or Saturday
// and Sunday where it has none. The one way into a locale's calendar conventions.
ConventionsRead ReadCalendarConventions(const std::string& localeName,
                                        const CalendarRequest& request);

// Whether the weekend comes from the locale's data on this system: always on Linux; on
// Windows where the system has its ICU.
bool WeekendFromLocaleData();

}  // namespace tessaly
