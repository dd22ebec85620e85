// A locale's calendar conventions from the system's locale data (NLS), and the weekend from
// the system's ICU, icu.dll, which Windows has had since Windows 10 version 1903.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale_names_win32.h"
#include "platform/wide_text_win32.h"
#include "regional/calendar_conventions.h"
#include "regional/year_month_picture.h"

namespace tessaly {

namespace {

// The native digits where the locale writes numbers in them: LOCALE_IDIGITSUBSTITUTION
// 1 is "never"; 0 ("as the context") and 2 ("national") write them in the locale's own.
std::vector<std::string> Digits(LCID lcid) {
    const auto substitution = LocaleInfoNumber(lcid, LOCALE_IDIGITSUBSTITUTION);
    wchar_t native[16];
    const int count = ::GetLocaleInfoW(lcid, LOCALE_SNATIVEDIGITS, native, 16);
    if (!substitution || *substitution == 1 || count != 11) {
        return {};
    }
    std::vector<std::string> digits;
    for (int k = 0; k < 10; ++k) {
        digits.push_back(Utf8FromWide({native + k, 1}));
    }
    if (digits == std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}) {
        return {};
    }
    return digits;
}

// The part of ICU's C interface that gives the weekend.
using UcalOpen = void* (*)(const wchar_t* zone, std::int32_t zoneLength, const char* locale,
                           int type, int* status);
using UcalGetDayOfWeekType = int (*)(const void* calendar, int dayOfWeek, int* status);
using UcalClose = void (*)(void* calendar);
constexpr int kUcalGregorian = 1;
constexpr int kUcalSunday = 1;
constexpr int kUcalWeekend = 1;

// The system's ICU, from the system's folder only; nothing where it has none.
struct SystemIcu {
    UcalOpen open = nullptr;
    UcalGetDayOfWeekType dayOfWeekType = nullptr;
    UcalClose close = nullptr;
};

const SystemIcu* LoadSystemIcu() {
    static const SystemIcu* const loaded = []() -> const SystemIcu* {
        const HMODULE icu = ::LoadLibraryExW(L"icu.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (icu == nullptr) {
            return nullptr;
        }
        static SystemIcu functions;
        functions.open =
            reinterpret_cast<UcalOpen>(reinterpret_cast<void*>(::GetProcAddress(icu, "ucal_open")));
        functions.dayOfWeekType = reinterpret_cast<UcalGetDayOfWeekType>(
            reinterpret_cast<void*>(::GetProcAddress(icu, "ucal_getDayOfWeekType")));
        functions.close = reinterpret_cast<UcalClose>(
            reinterpret_cast<void*>(::GetProcAddress(icu, "ucal_close")));
        if (functions.open == nullptr || functions.dayOfWeekType == nullptr ||
            functions.close == nullptr) {
            return nullptr;
        }
        return &functions;
    }();
    return loaded;
}

// The weekend by ICU's data for the locale (its "ar-EG" as ICU's "ar_EG"); Saturday and
// Sunday without the system's ICU.
Weekdays Weekend(LCID lcid) {
    const SystemIcu* icu = LoadSystemIcu();
    std::string name = LocaleInfoText(lcid, LOCALE_SNAME);
    if (icu == nullptr || name.empty()) {
        return kSaturdayAndSunday;
    }
    for (char& c : name) {
        c = c == '-' ? '_' : c;
    }
    int status = 0;
    void* calendar = icu->open(nullptr, 0, name.c_str(), kUcalGregorian, &status);
    if (calendar == nullptr || status > 0) {
        return kSaturdayAndSunday;
    }
    Weekdays weekend{};
    for (int day = 0; day < 7; ++day) {
        weekend[static_cast<std::size_t>(day)] =
            icu->dayOfWeekType(calendar, kUcalSunday + day, &status) == kUcalWeekend;
    }
    icu->close(calendar);
    return status > 0 ? kSaturdayAndSunday : weekend;
}

}  // namespace

ConventionsRead ReadCalendarConventions(const std::string& localeName,
                                        const CalendarRequest& request) {
    ConventionsRead read;
    LCID lcid = ::GetThreadLocale();
    if (!localeName.empty()) {
        lcid = ::LocaleNameToLCID(WideFromUtf8(localeName).c_str(), 0);
        if (lcid == 0 || lcid == LOCALE_CUSTOM_UNSPECIFIED) {
            read.error = "--regional: '" + localeName + "' is not a locale of this system";
            return read;
        }
    }
    CalendarConventions& conventions = read.conventions;
    // Windows counts from Monday, 0.
    conventions.firstWeekday =
        static_cast<int>((LocaleInfoNumber(lcid, LOCALE_IFIRSTDAYOFWEEK).value_or(6) + 1) % 7);
    conventions.weekend = Weekend(lcid);
    conventions.rightToLeft = LocaleInfoNumber(lcid, LOCALE_IREADINGLAYOUT).value_or(0) == 1;
    conventions.digits = Digits(lcid);
    const std::string picture = LocaleInfoText(lcid, LOCALE_SYEARMONTH);
    for (const CalendarRequest& month : MonthsOf(request)) {
        YearMonthWords words;
        words.year = month.year;
        words.month = month.monthIndex + 1;
        words.monthName =
            LocaleInfoText(lcid, static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + month.monthIndex));
        words.abbreviatedMonth =
            LocaleInfoText(lcid, static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month.monthIndex));
        words.digits = conventions.digits;
        const std::string title =
            FillYearMonthPicture(picture.empty() ? "MMMM yyyy" : picture, words);
        if (!title.empty()) {
            conventions.titles[MonthKey(month.year, month.monthIndex)] = title;
        }
    }
    return read;
}

bool WeekendFromLocaleData() {
    return LoadSystemIcu() != nullptr;
}

}  // namespace tessaly
