#include <gtest/gtest.h>
#include <locale.h>

#include <cstdlib>

#include "platform/locale_names.h"
#include "support/scoped_env.h"

namespace tessaly {
namespace {

bool LocaleInstalled(const char* name) {
    locale_t probe = ::newlocale(LC_TIME_MASK, name, static_cast<locale_t>(nullptr));
    if (probe == static_cast<locale_t>(nullptr)) {
        return false;
    }
    ::freelocale(probe);
    return true;
}

TEST(PosixLocaleNames, ReadsFullNamesOfTheUsersTimeLocale) {
    struct Case {
        const char* locale;
        const char* sunday;
        const char* january;
        const char* december;
        const char* shortSunday;  // as `locale abday` gives it
    };
    const Case cases[] = {
        {"C", "Sunday", "January", "December", "Sun"},
        {"fr_FR.UTF-8", "dimanche", "janvier",
         "d\xC3\xA9"
         "cembre",
         "dim."},
        {"de_DE.UTF-8", "Sonntag", "Januar", "Dezember", "So"},
        // Stand-alone month names: nominative, not the genitive of dates.
        {"ru_RU.UTF-8",
         "\xD0\x92\xD0\xBE\xD1\x81\xD0\xBA\xD1\x80\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD\xD1\x8C\xD0\xB5",
         "\xD0\xAF\xD0\xBD\xD0\xB2\xD0\xB0\xD1\x80\xD1\x8C",
         "\xD0\x94\xD0\xB5\xD0\xBA\xD0\xB0\xD0\xB1\xD1\x80\xD1\x8C", "\xD0\x92\xD1\x81"},
        {"ja_JP.UTF-8", "\xE6\x97\xA5\xE6\x9B\x9C\xE6\x97\xA5", "1\xE6\x9C\x88", "12\xE6\x9C\x88",
         "\xE6\x97\xA5"},
    };
    int checked = 0;
    for (const auto& c : cases) {
        if (!LocaleInstalled(c.locale)) {
            if (std::getenv("CI") != nullptr) {
                ADD_FAILURE() << c.locale << " is not installed; the install script generates it";
            }
            continue;
        }
        test::ScopedEnv scoped("LC_ALL", c.locale);
        const LocaleNames names = ReadUserLocaleNames();
        EXPECT_EQ(names.days[0], c.sunday) << c.locale;
        EXPECT_EQ(names.months[0], c.january) << c.locale;
        EXPECT_EQ(names.months[11], c.december) << c.locale;
        EXPECT_EQ(names.shortDays[0], c.shortSunday) << c.locale;
        for (const auto& name : names.days) {
            EXPECT_FALSE(name.empty());
        }
        ++checked;
    }
    if (checked < 2) {
        GTEST_SKIP() << "only " << checked << " of the locales are installed here";
    }
}

}  // namespace
}  // namespace tessaly
