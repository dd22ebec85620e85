// The program's side of the regional module: loaded on first use, so that every other
// start stays free of ICU.
#include <cstdlib>

#include "platform/modules_posix.h"
#include "regional/calendar_conventions.h"
#include "regional/regional_module.h"

namespace tessaly {

namespace {

// The user's locale for dates, as the C library chooses it: LC_ALL, else LC_TIME, else
// LANG, else "C".
std::string UserTimeLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

}  // namespace

ConventionsRead ReadCalendarConventions(const std::string& localeName,
                                        const CalendarRequest& request) {
    static std::string failure;
    static const RegionalModule* const module = LoadModuleInterface<RegionalModule>(
        {TESSALY_REGIONAL_MODULE_FROM_PROGRAM, TESSALY_REGIONAL_MODULE_NAME,
         TESSALY_REGIONAL_MODULE_BUILT},
        kRegionalModuleVersion, &failure);
    ConventionsRead read;
    if (module == nullptr) {
        read.error = "--regional: the locale conventions (ICU) cannot be loaded: " + failure;
        return read;
    }
    std::vector<std::int32_t> months;
    for (const CalendarRequest& month : MonthsOf(request)) {
        months.push_back(MonthKey(month.year, month.monthIndex));
    }
    const std::string name = localeName.empty() ? UserTimeLocale() : localeName;
    module->readConventions(name, months, read.conventions, read.error);
    if (!read.error.empty()) {
        read.error = "--regional: " + read.error;
    }
    return read;
}

bool WeekendFromLocaleData() {
    return true;
}

}  // namespace tessaly
