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
    };
    const Case cases[] = {
        {"C", "Sunday", "January", "December"},
        {"fr_FR.UTF-8", "dimanche", "janvier",
         "d\xC3\xA9"
         "cembre"},
        {"de_DE.UTF-8", "Sonntag", "Januar", "Dezember"},
        // Stand-alone month names: nominative, not the genitive of dates.
        {"ru_RU.UTF-8",
         "\xD0\x92\xD0\xBE\xD1\x81\xD0\xBA\xD1\x80\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD\xD1\x8C\xD0\xB5",
         "\xD0\xAF\xD0\xBD\xD0\xB2\xD0\xB0\xD1\x80\xD1\x8C",
         "\xD0\x94\xD0\xB5\xD0\xBA\xD0\xB0\xD0\xB1\xD1\x80\xD1\x8C"},
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
