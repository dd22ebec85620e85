#include "ical/event_blocks.h"

#include <algorithm>
#include <optional>

namespace tessaly::ical {

namespace {

// What an event is made of, which must be read; its name may go.
bool NeededInEvent(std::string_view name) {
    return IsOneOf(name,
                   {"DTSTART", "DTEND", "DURATION", "RRULE", "RDATE", "EXDATE", "RECURRENCE-ID"});
}

// Whether an event's own dates come near `days`, or cannot be told.
bool NearByItsDates(icalcomponent* event, DayRange days) {
    const icaltimetype start =
        icalproperty_get_dtstart(icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY));
    icaltimetype end = start;
    if (icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        end = icalproperty_get_dtend(dtend);
    } else if (icalproperty* duration =
                   icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const int seconds = icaldurationtype_as_int(icalproperty_get_duration(duration));
        // Whole days later: only the date counts here.
        end = icaltime_add(
            start, icaldurationtype_from_int(std::clamp(seconds, 0, 3660 * 86400) / 86400 * 86400));
    }
    return !Plausible(start) || Near(start, end, days);
}

// Whether an event that happens once is surely far from `days`, by the dates of its
// DTSTART, DTEND or DURATION lines as libical reads their values alone: a calendar's
// whole history is then passed over at little cost. Not known (false) where a value
// cannot be read so, and libical reads the event whole.
bool SurelyFar(const EventBlock& block, DayRange days) {
    std::optional<icaltimetype> start;
    std::optional<icaltimetype> end;
    std::optional<icaldurationtype> duration;
    std::string value;
    for (const ContentLine& line : block.lines) {
        const std::string_view name = NameOf(line.text);
        const bool isStart = SameName(name, "DTSTART");
        const bool isEnd = SameName(name, "DTEND");
        const bool isDuration = SameName(name, "DURATION");
        if (!isStart && !isEnd && !isDuration) {
            continue;
        }
        value.assign(ValueOf(line.text));
        if (isDuration) {
            duration = icaldurationtype_from_string(value.c_str());
            if (icaldurationtype_is_bad_duration(*duration) || duration->is_neg) {
                return false;
            }
            continue;
        }
        const icaltimetype time = icaltime_from_string(value.c_str());
        if (!Plausible(time)) {
            return false;
        }
        (isStart ? start : end) = time;
    }
    if (!start) {
        return false;
    }
    icaltimetype last = end.value_or(*start);
    if (!end && duration) {
        last = icaltime_add(
            *start, icaldurationtype_from_int(
                        std::min(icaldurationtype_as_int(*duration) / 86400, 3660) * 86400));
    }
    return Plausible(last) && !Near(*start, last, days);
}

// The calendar other than the Gregorian an event's RRULE follows (RFC 7529: an RSCALE,
// or a leap month, "BYMONTH=5L"), as written; nothing for Gregorian rules. libical
// follows such rules only with ICU, which the Windows build has not, and cannot read a
// leap month without it: such an event is left out everywhere alike.
std::optional<std::string> OtherCalendar(const EventBlock& block) {
    for (const ContentLine& line : block.lines) {
        if (!SameName(NameOf(line.text), "RRULE")) {
            continue;
        }
        std::string_view rule = ValueOf(line.text);
        while (!rule.empty()) {
            const std::string_view part = rule.substr(0, rule.find(';'));
            rule.remove_prefix(std::min(part.size() + 1, rule.size()));
            const std::string_view name = part.substr(0, part.find('='));
            const std::string_view value = part.substr(std::min(name.size() + 1, part.size()));
            if (SameName(name, "RSCALE") && !SameName(value, "GREGORIAN")) {
                return "RSCALE=" + std::string(value);
            }
            if (SameName(name, "BYMONTH") && (value.find('L') != std::string_view::npos ||
                                              value.find('l') != std::string_view::npos)) {
                return "a leap month, " + std::string(part);
            }
        }
    }
    return std::nullopt;
}

// An event's SUMMARY as its block gives it, its escapes undone.
std::string SummaryOf(const EventBlock& block) {
    std::string summary;
    for (const ContentLine& line : block.lines) {
        if (SameName(NameOf(line.text), "SUMMARY")) {
            const std::string_view value = ValueOf(line.text);
            for (std::size_t k = 0; k < value.size(); ++k) {
                const bool escaped = value[k] == '\\' && k + 1 < value.size();
                const char c = escaped ? value[++k] : value[k];
                summary += escaped && (c == 'n' || c == 'N') ? '\n' : c;
            }
            break;
        }
    }
    return summary;
}

}  // namespace

bool NeededInTimeZone(std::string_view name) {
    return IsOneOf(name, {"TZID", "DTSTART", "TZOFFSETFROM", "TZOFFSETTO", "RRULE", "RDATE"});
}

icalcomponent* ComponentParser::Add(const ContentLine& line, bool needed) {
    buffer_.assign(line.text);
    icalcomponent* finished = icalparser_add_line(parser_.get(), buffer_.data());
    if (icalparser_get_state(parser_.get()) == ICALPARSER_ERROR) {
        failed_.push_back(needed ? line.number : -line.number);
    }
    return finished;
}

Failure ComponentParser::FirstFailure(icalcomponent* component) const {
    const auto fatal =
        std::find_if(failed_.begin(), failed_.end(), [](int line) { return line > 0; });
    if (fatal == failed_.end()) {
        return {};
    }
    std::vector<std::string> errors;
    for (icalproperty* error = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
         error != nullptr;
         error = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        const char* text = icalproperty_get_xlicerror(error);
        errors.emplace_back(text != nullptr ? text : "");
    }
    std::string message = "this line cannot be read";
    const auto index = static_cast<std::size_t>(fatal - failed_.begin());
    if (errors.size() == failed_.size() && !errors[index].empty()) {
        // libical goes on without the property; this reading does not.
        message = errors[index];
        const std::string dropped = ". Removing entire property:";
        if (const auto at = message.find(dropped); at != std::string::npos) {
            message.replace(at, dropped.size(), ":");
        }
    }
    return {*fatal, Printable(message, 120)};
}

ReadEvent ReadEventBlock(const EventBlock& block, DayRange days) {
    ReadEvent read;
    read.line = block.begun;
    if (const auto calendar = OtherCalendar(block)) {
        read.warning = "the event \"" + Printable(SummaryOf(block)) +
                       "\": it recurs by another calendar than the Gregorian (" +
                       Printable(*calendar) + "), which is not followed: it is left out";
        return read;
    }
    if (!block.recurs && SurelyFar(block, days)) {
        return read;
    }
    const auto parse = [&]() {
        ComponentParser parser;
        icalcomponent* finished = nullptr;
        for (const ContentLine& line : block.lines) {
            finished = parser.Add(line, NeededInEvent(NameOf(line.text)));
        }
        Component component(finished);
        if (!component) {
            read.failure = {block.lines.back().number,
                            "libical could not read the VEVENT that ends here"};
        } else {
            read.failure = parser.FirstFailure(component.get());
        }
        return component;
    };
    Component event = parse();
    if (!event || read.failure.line != 0) {
        return read;
    }
    if (icalcomponent_get_first_property(event.get(), ICAL_DTSTART_PROPERTY) == nullptr) {
        read.warning = "an event without DTSTART is left out";
        return read;
    }
    const char* uid = icalcomponent_get_uid(event.get());
    read.uid = uid != nullptr ? uid : "";
    icalproperty* recurrenceId =
        icalcomponent_get_first_property(event.get(), ICAL_RECURRENCEID_PROPERTY);
    read.isOverride = recurrenceId != nullptr;
    // An event far from the days is left; an override, only when its occurrence was too.
    if (!icalcomponent_get_first_property(event.get(), ICAL_RRULE_PROPERTY) &&
        !icalcomponent_get_first_property(event.get(), ICAL_RDATE_PROPERTY) &&
        !NearByItsDates(event.get(), days) &&
        !(recurrenceId && Near(icalproperty_get_recurrenceid(recurrenceId),
                               icalproperty_get_recurrenceid(recurrenceId), days))) {
        return read;
    }
    read.component = std::move(event);
    return read;
}

}  // namespace tessaly::ical
