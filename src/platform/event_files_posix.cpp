#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <type_traits>

#include "core/errors.h"
#include "platform/event_files.h"
#include "platform/event_files_module.h"
#include "platform/modules_posix.h"
#include "platform/system.h"

namespace tessaly {

namespace {

TessalyReadEventFilesFunction* LoadEventsModule(std::string& failure) {
    const auto symbols = LoadModule({TESSALY_EVENTS_MODULE_FROM_PROGRAM, TESSALY_EVENTS_MODULE_NAME,
                                     TESSALY_EVENTS_MODULE_BUILT},
                                    {kTessalyReadEventFilesSymbol}, &failure);
    return symbols.empty() ? nullptr : reinterpret_cast<TessalyReadEventFilesFunction*>(symbols[0]);
}

// A time format without its seconds and its zone: "%H:%M:%S" is "%H:%M", "%I:%M:%S %p"
// is "%I:%M %p", "%H時%M分%S秒" is "%H時%M分".
std::string WithoutSeconds(std::string format, const std::string& amPmFormat) {
    for (std::size_t at = 0; (at = format.find('%', at)) != std::string::npos;) {
        const std::string_view conversion = std::string_view(format).substr(at, 2);
        if (conversion == "%T") {
            format.replace(at, 2, "%H:%M:%S");
        } else if (conversion == "%r") {
            format.replace(at, 2, amPmFormat.empty() ? "%I:%M:%S %p" : amPmFormat);
        } else if (conversion == "%Z" || conversion == "%z") {
            format.erase(at, 2);
        } else {
            at += 2;
        }
    }
    const std::size_t seconds = format.find("%S");
    const std::size_t minutes = format.rfind("%M", seconds);
    if (seconds == std::string::npos || minutes == std::string::npos) {
        return minutes == std::string::npos ? "%H:%M" : format;
    }
    // A separator before the seconds goes with them ("%M:%S"); a word after the minutes
    // is theirs ("%M分%S秒"), and the seconds' word goes.
    const std::string between = format.substr(minutes + 2, seconds - minutes - 2);
    if (std::all_of(between.begin(), between.end(),
                    [](char c) { return std::strchr(" :.,'", c) != nullptr; })) {
        format.erase(minutes + 2, seconds + 2 - minutes - 2);
    } else {
        const std::size_t end = format.find_first_of(" %", seconds + 2);
        format.erase(seconds, (end == std::string::npos ? format.size() : end) - seconds);
    }
    const auto first = format.find_first_not_of(' ');
    const auto last = format.find_last_not_of(' ');
    return first == std::string::npos ? "%H:%M" : format.substr(first, last - first + 1);
}

EventList ReadEventFiles(const std::vector<std::string>& paths, DayRange days,
                         const std::function<void(const std::string&)>& warn) {
    static std::string failure;
    static TessalyReadEventFilesFunction* const read = LoadEventsModule(failure);
    if (read == nullptr) {
        throw TessalyError("--events: the iCalendar reader cannot be loaded: " + failure);
    }
    EventFilesRead result;
    read(paths, days.first, days.last, result);
    for (const std::string& warning : result.warnings) {
        warn(warning);
    }
    if (!result.error.empty()) {
        throw TessalyError(result.error);
    }
    return std::move(result.events);
}

// Times of day as a locale writes them, short: its own notation without the seconds
// ("09:30", "9:30 AM", "9時30分").
std::function<std::string(int hour, int minute)> LocaleShortTime(const std::string& name) {
    const locale_t made =
        ::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (made == static_cast<locale_t>(nullptr)) {
        return TwentyFourHourTime;
    }
    const std::shared_ptr<std::remove_pointer_t<locale_t>> locale(made, ::freelocale);
    const char* codeset = ::nl_langinfo_l(CODESET, made);
    const bool utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
    const char* time = ::nl_langinfo_l(T_FMT, made);
    const char* amPm = ::nl_langinfo_l(T_FMT_AMPM, made);
    const std::string format =
        WithoutSeconds(time != nullptr ? time : "", amPm != nullptr ? amPm : "");
    return [locale, format, utf8](int hour, int minute) {
        std::tm moment{};
        moment.tm_hour = hour;
        moment.tm_min = minute;
        char text[128];
        const std::size_t length =
            ::strftime_l(text, sizeof text, format.c_str(), &moment, locale.get());
        const std::string shown(text, length);
        // Event lines are UTF-8; a locale in another encoding keeps to digits.
        const bool ascii = std::all_of(shown.begin(), shown.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        return length == 0 || (!utf8 && !ascii) ? TwentyFourHourTime(hour, minute) : shown;
    };
}

}  // namespace

EventCalendar ReadEventCalendar(const std::vector<std::string>& paths, DayRange days,
                                const std::optional<std::string>& timeLocale,
                                const std::function<void(const std::string&)>& warn) {
    const EventList events = ReadEventFiles(paths, days, warn);
    return ArrangeEvents(events, days,
                         timeLocale ? LocaleShortTime(*timeLocale)
                                    : std::function<std::string(int, int)>(TwentyFourHourTime));
}

}  // namespace tessaly
