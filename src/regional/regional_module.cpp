// The entry point of libtessaly-regional.so: a locale's calendar conventions from ICU,
// kept in a module of its own so that no other run of the program maps ICU.
#include <unicode/ucal.h>
#include <unicode/udat.h>
#include <unicode/udatpg.h>
#include <unicode/uloc.h>
#include <unicode/unumsys.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <memory>

#include "regional/regional_module.h"

namespace tessaly {

namespace {

// ICU's objects, closed however a reading ends.
template <typename T, void (*Close)(T*)>
struct Closer {
    void operator()(T* object) const { Close(object); }
};
using Calendar = std::unique_ptr<UCalendar, Closer<UCalendar, ucal_close>>;
using Generator =
    std::unique_ptr<UDateTimePatternGenerator, Closer<UDateTimePatternGenerator, udatpg_close>>;
using DateFormat = std::unique_ptr<UDateFormat, Closer<UDateFormat, udat_close>>;
using NumberingSystem = std::unique_ptr<UNumberingSystem, Closer<UNumberingSystem, unumsys_close>>;

std::string Utf8(const UChar* text, int32_t length) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t size = 0;
    u_strToUTF8(nullptr, 0, &size, text, length, &status);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), size, nullptr, text, length, &status);
    return U_SUCCESS(status) ? utf8 : std::string();
}

// The locale's digits where its default numbering system writes numbers in ten digits of
// its own ("arab", "arabext"); nothing for ASCII's ("latn") or a system without digits.
std::vector<std::string> Digits(const char* locale) {
    UErrorCode status = U_ZERO_ERROR;
    const NumberingSystem system(unumsys_open(locale, &status));
    if (U_FAILURE(status) || unumsys_isAlgorithmic(system.get()) ||
        unumsys_getRadix(system.get()) != 10 ||
        std::string(unumsys_getName(system.get())) == "latn") {
        return {};
    }
    UChar description[64];
    const int32_t length = unumsys_getDescription(system.get(), description, 64, &status);
    if (U_FAILURE(status)) {
        return {};
    }
    std::vector<std::string> digits;
    for (int32_t at = 0; at < length;) {
        UChar32 c = 0;
        U16_NEXT(description, at, length, c);
        digits.push_back(Utf8(description + at - U16_LENGTH(c), U16_LENGTH(c)));
    }
    return digits.size() == 10 ? digits : std::vector<std::string>();
}

// Each month's title in the locale's best pattern for a year and a month's name.
bool ReadTitles(const char* locale, const std::vector<std::int32_t>& months,
                CalendarConventions& conventions, std::string& error) {
    UErrorCode status = U_ZERO_ERROR;
    const Generator generator(udatpg_open(locale, &status));
    UChar pattern[128];
    static const UChar kSkeleton[] = u"yMMMM";
    const int32_t length = U_SUCCESS(status) ? udatpg_getBestPattern(generator.get(), kSkeleton, -1,
                                                                     pattern, 128, &status)
                                             : 0;
    static const UChar kUtc[] = u"UTC";
    const DateFormat format(U_SUCCESS(status) ? udat_open(UDAT_PATTERN, UDAT_PATTERN, locale, kUtc,
                                                          -1, pattern, length, &status)
                                              : nullptr);
    const Calendar calendar(U_SUCCESS(status) ? ucal_open(kUtc, -1, locale, UCAL_GREGORIAN, &status)
                                              : nullptr);
    for (const std::int32_t month : months) {
        if (U_FAILURE(status)) {
            break;
        }
        ucal_clear(calendar.get());
        // The middle of the month: no zone puts it in another.
        ucal_setDateTime(calendar.get(), month / 12, month % 12, 15, 12, 0, 0, &status);
        const UDate moment = ucal_getMillis(calendar.get(), &status);
        UChar title[256];
        const int32_t titleLength =
            U_SUCCESS(status) ? udat_format(format.get(), moment, title, 256, nullptr, &status) : 0;
        if (U_SUCCESS(status)) {
            conventions.titles[month] = Utf8(title, titleLength);
        }
    }
    if (U_FAILURE(status)) {
        error = std::string("the year-and-month titles: ") + u_errorName(status);
        return false;
    }
    return true;
}

void ReadConventions(const std::string& localeName, const std::vector<std::int32_t>& months,
                     CalendarConventions& conventions, std::string& error) {
    UErrorCode status = U_ZERO_ERROR;
    // "ar_EG.UTF-8" is ICU's "ar_EG"; "C" its "en_US_POSIX".
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    uloc_canonicalize(localeName.c_str(), locale, ULOC_FULLNAME_CAPACITY, &status);
    // The grid's days are Gregorian, whatever calendar the locale prefers (Persian, Buddhist).
    uloc_setKeywordValue("calendar", "gregorian", locale, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status)) {
        error = "'" + localeName + "' is no locale name ICU reads: " + u_errorName(status);
        return;
    }
    const Calendar calendar(ucal_open(nullptr, 0, locale, UCAL_GREGORIAN, &status));
    if (U_FAILURE(status)) {
        error = std::string("the calendar of '") + locale + "': " + u_errorName(status);
        return;
    }
    // ICU counts from UCAL_SUNDAY = 1.
    conventions.firstWeekday =
        ucal_getAttribute(calendar.get(), UCAL_FIRST_DAY_OF_WEEK) - UCAL_SUNDAY;
    for (int day = 0; day < 7; ++day) {
        const UCalendarWeekdayType type = ucal_getDayOfWeekType(
            calendar.get(), static_cast<UCalendarDaysOfWeek>(UCAL_SUNDAY + day), &status);
        // A day the weekend begins or ends on (UCAL_WEEKEND_ONSET, UCAL_WEEKEND_CEASE) is
        // partly the weekend; a calendar shades whole days.
        conventions.weekend[static_cast<std::size_t>(day)] = type == UCAL_WEEKEND;
    }
    if (U_FAILURE(status)) {
        error = std::string("the weekend of '") + locale + "': " + u_errorName(status);
        return;
    }
    conventions.rightToLeft = uloc_getCharacterOrientation(locale, &status) == ULOC_LAYOUT_RTL;
    conventions.digits = Digits(locale);
    ReadTitles(locale, months, conventions, error);
}

constexpr RegionalModule kModule{kRegionalModuleVersion, ReadConventions};

}  // namespace

}  // namespace tessaly

extern "C" __attribute__((visibility("default"))) const tessaly::RegionalModule* TessalyModule() {
    return &tessaly::kModule;
}
