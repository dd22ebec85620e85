// iCalendar files read with libical. On Linux this is the module libtessaly-events.so,
// loaded only when tessaly-cli is given --events: libical brings ICU, which every other
// start of the program would otherwise load.
#include "ical/ical_reader.h"

#include <libical/ical.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <thread>

#include "core/winansi.h"
#include "platform/owned.h"

namespace tessaly {

namespace {

using Component = Owned<icalcomponent, icalcomponent_free>;
using Parser = Owned<icalparser, icalparser_free>;
using Iterator = Owned<icalrecur_iterator, icalrecur_iterator_free>;
struct ZoneFree {
    void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};
using Zone = std::unique_ptr<icaltimezone, ZoneFree>;

constexpr std::int64_t kSecondsPerDay = 86400;
// Recurrences are followed a little beyond the days asked for on either side: a local
// day and a day in another zone differ by up to 26 hours.
constexpr std::int32_t kMarginDays = 2;
// What keeps any file's cost bounded. libical steps through every period of a rule to
// find its occurrences, also where its parts exclude them all, so a rule more often than
// daily may step only so far; all the rules of one run get so much time.
constexpr std::int64_t kMostStepsOfOneRule = 100000;
constexpr std::size_t kMostOccurrences = 1000000;

// File text for a message: at most `most` characters, control characters as "?", so
// that no file can write to the terminal what it likes.
std::string Printable(std::string_view text, std::size_t most = 60) {
    std::string shown;
    std::size_t count = 0;
    for (const char32_t c : Utf8ToCodePointsReplacing(text)) {
        if (++count > most) {
            shown += "\u2026";
            break;
        }
        shown += c < 0x20 || (c >= 0x7F && c <= 0x9F) ? std::string("?") : CodePointToUtf8(c);
    }
    return shown;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
           });
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view candidate) { return SameName(name, candidate); });
}

// One content line, its folded continuations joined, and the line it starts on. The
// text is in the file, or, for a folded line, in storage of its reader's.
struct ContentLine {
    std::string_view text;
    int number = 0;
};

// The unfolded lines of a text (line ends CR LF or LF).
class ContentLines {
  public:
    explicit ContentLines(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF")) {
            text_.remove_prefix(3);
        }
    }

    // The next line; a folded one stays valid until the next call only.
    bool Next(ContentLine& line) {
        if (at_ >= text_.size()) {
            return false;
        }
        line.number = ++physical_;
        line.text = Physical();
        if (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) {
            unfolded_.assign(line.text);
            while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) {
                ++physical_;
                unfolded_.append(Physical().substr(1));
            }
            line.text = unfolded_;
        }
        return true;
    }

    int LastLine() const { return physical_; }

  private:
    std::string_view Physical() {
        const std::size_t end = std::min(text_.find('\n', at_), text_.size());
        std::string_view physical = text_.substr(at_, end - at_);
        at_ = end + 1;
        if (physical.ends_with('\r')) {
            physical.remove_suffix(1);
        }
        return physical;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int physical_ = 0;
    std::string unfolded_;
};

// The property name of a content line: what stands before its first ';' or ':'.
std::string_view NameOf(std::string_view line) {
    return line.substr(0, line.find_first_of(";:"));
}

// The value of a BEGIN or END line, in capitals.
std::string ComponentOf(std::string_view line) {
    std::string name(line.substr(std::min(line.find(':') + 1, line.size())));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return name;
}

// Days from 1970-01-01 of a date.
std::int32_t DayOf(const icaltimetype& t) {
    return DayNumberOf(t.year, t.month - 1, t.day);
}

// Wall-clock seconds of a time, as if it were UTC.
std::int64_t WallSeconds(const icaltimetype& t) {
    return std::int64_t{DayOf(t)} * kSecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
}

bool Plausible(const icaltimetype& t) {
    return !icaltime_is_null_time(t) && t.year >= 1 && t.year <= 9999 && t.month >= 1 &&
           t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 && t.hour < 24 &&
           t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second <= 60;
}

// A time as a property gives it: a date, a floating time (zone null), or a time in UTC
// or a known zone.
struct Moment {
    icaltimetype time{};
    icaltimezone* zone = nullptr;
};

// Seconds from the epoch of a zoned time; a floating time's wall clock, as if UTC.
std::int64_t Seconds(const Moment& moment) {
    if (moment.zone == nullptr || moment.time.is_date) {
        return WallSeconds(moment.time);
    }
    icaltimetype wall = moment.time;
    wall.zone = nullptr;
    return static_cast<std::int64_t>(icaltime_as_timet_with_zone(wall, moment.zone));
}

// How long each occurrence lasts.
struct Span {
    std::int32_t days = 1;     // for occurrences on dates
    std::int64_t seconds = 0;  // for occurrences at a time
};

// Runs work(k) for every k below `count`, on a second thread too when there is much to
// do: libical parses and follows rules on either, each with objects of its own.
void ForEach(std::size_t count, const std::function<void(std::size_t)>& work) {
    constexpr std::size_t kWorthAThread = 64;
    std::atomic<std::size_t> next{0};
    const auto run = [&] {
        for (std::size_t k = next++; k < count; k = next++) {
            work(k);
        }
    };
    if (count < kWorthAThread || std::thread::hardware_concurrency() < 2) {
        run();
        return;
    }
    std::thread helper(run);
    run();
    helper.join();
}

// What an event is made of, which must be read; its name or a zone's may go.
bool NeededInEvent(std::string_view name) {
    return IsOneOf(name,
                   {"DTSTART", "DTEND", "DURATION", "RRULE", "RDATE", "EXDATE", "RECURRENCE-ID"});
}
bool NeededInTimeZone(std::string_view name) {
    return IsOneOf(name, {"TZID", "DTSTART", "TZOFFSETFROM", "TZOFFSETTO", "RRULE", "RDATE"});
}

// A line that could not be read; none has line 0.
struct Failure {
    int line = 0;
    std::string message;
};

// Lines fed one by one to libical, which is asked after each whether it could read it.
class ComponentParser {
  public:
    ComponentParser() : parser_(icalparser_new()) {}

    // `needed`: whether the line must be read.
    icalcomponent* Add(const ContentLine& line, bool needed) {
        buffer_.assign(line.text);
        icalcomponent* finished = icalparser_add_line(parser_.get(), buffer_.data());
        if (icalparser_get_state(parser_.get()) == ICALPARSER_ERROR) {
            failed_.push_back(needed ? line.number : -line.number);
        }
        return finished;
    }

    // The first needed line libical could not read, in libical's words where its
    // errors can be told apart.
    Failure FirstFailure(icalcomponent* component) const {
        const auto fatal =
            std::find_if(failed_.begin(), failed_.end(), [](int line) { return line > 0; });
        if (fatal == failed_.end()) {
            return {};
        }
        std::vector<std::string> errors;
        for (icalproperty* error =
                 icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
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

  private:
    Parser parser_;
    std::string buffer_;
    std::vector<int> failed_;  // negative: a line that may go unread
};

// An event's lines that say when it is and what it is called, from its BEGIN:VEVENT to
// its END:VEVENT (its alarms and the rest are never read).
struct EventBlock {
    int begun = 0;
    std::vector<ContentLine> lines;
    bool recurs = false;  // it has an RRULE, RDATE or RECURRENCE-ID
    bool ended = false;   // its END:VEVENT was read
};

// An event as libical read it, kept until its file's time zones are known; no
// component when it is left out.
struct ReadEvent {
    Component component;
    int line = 0;
    std::string uid;
    bool isOverride = false;
    Failure failure;
    std::string warning;
};

// Whether dates from `from` to `to`, by their wall clocks, come within the margin of
// `days`.
bool Near(const icaltimetype& from, const icaltimetype& to, DayRange days) {
    return Plausible(from) && Plausible(to) && DayOf(to) >= days.first - kMarginDays &&
           DayOf(from) <= days.last + kMarginDays;
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

// The value of a content line: what follows the first colon outside quotes.
std::string_view ValueOf(std::string_view line) {
    bool quoted = false;
    for (std::size_t k = 0; k < line.size(); ++k) {
        if (line[k] == '"') {
            quoted = !quoted;
        } else if (line[k] == ':' && !quoted) {
            return line.substr(k + 1);
        }
    }
    return {};
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

// One event's lines read by libical; nothing kept of one far from `days`.
ReadEvent ReadEventBlock(const EventBlock& block, DayRange days) {
    ReadEvent read;
    read.line = block.begun;
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

// A recurrence rule to follow, in the wall clock of its event's start, and what it gave.
struct RuleWalk {
    icalproperty* rrule = nullptr;
    icaltimetype until{};        // the rule's end, or the end of the days asked for
    icaltimetype first{};        // the event's start
    icaltimetype windowStart{};  // occurrences before it are not kept
    bool skipAhead = false;      // start stepping at windowStart
    // What it gave.
    std::vector<icaltimetype> found;
    enum class Outcome { Followed, Refused, TooMany, OutOfTime } outcome = Outcome::Followed;
};

void Walk(RuleWalk& walk, std::chrono::steady_clock::time_point deadline) {
    if (std::chrono::steady_clock::now() > deadline) {
        walk.outcome = RuleWalk::Outcome::OutOfTime;
        return;
    }
    icalrecurrencetype rule = icalproperty_get_rrule(walk.rrule);
    rule.until = walk.until;
    Iterator iterator(icalrecur_iterator_new(rule, walk.first));
    if (!iterator) {
        walk.outcome = RuleWalk::Outcome::Refused;
        return;
    }
    if (walk.skipAhead && icalrecur_iterator_set_start(iterator.get(), walk.windowStart) == 0) {
        return;
    }
    std::int64_t steps = 0;
    for (icaltimetype next = icalrecur_iterator_next(iterator.get()); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(iterator.get())) {
        if (++steps > kMostStepsOfOneRule) {
            walk.outcome = RuleWalk::Outcome::TooMany;
            return;
        }
        if ((steps & 0xFF) == 0 && std::chrono::steady_clock::now() > deadline) {
            walk.outcome = RuleWalk::Outcome::OutOfTime;
            return;
        }
        if (icaltime_compare(next, walk.windowStart) >= 0) {
            walk.found.push_back(next);
        }
    }
}

// Whether a counted rule surely has its last occurrence before `wall` (wall-clock
// seconds): libical cannot skip ahead in one, it counts from its start. Known only for
// rules of plain periods, whose every period holds one occurrence but for dates some
// months or years lack (the 31st, 29 February: one in eight periods at worst), and for
// weekly ones on days of the week.
bool EndsBefore(const icalrecurrencetype& rule, const icaltimetype& start, std::int64_t wall) {
    const auto none = [](const short* by) { return by[0] == ICAL_RECURRENCE_ARRAY_MAX; };
    const bool plain = none(rule.by_second) && none(rule.by_minute) && none(rule.by_hour) &&
                       none(rule.by_month_day) && none(rule.by_year_day) && none(rule.by_week_no) &&
                       none(rule.by_month) && none(rule.by_set_pos);
    bool daysOfWeek = !none(rule.by_day);
    for (int k = 0; k < ICAL_BY_DAY_SIZE && rule.by_day[k] != ICAL_RECURRENCE_ARRAY_MAX; ++k) {
        daysOfWeek = daysOfWeek && icalrecurrencetype_day_position(rule.by_day[k]) == 0;
    }
    if (rule.count <= 0 || rule.count > 1000000 || !plain ||
        !(none(rule.by_day) || (daysOfWeek && rule.freq == ICAL_WEEKLY_RECURRENCE))) {
        return false;
    }
    std::int64_t period = 0;
    switch (rule.freq) {
        case ICAL_SECONDLY_RECURRENCE:
            period = 1;
            break;
        case ICAL_MINUTELY_RECURRENCE:
            period = 60;
            break;
        case ICAL_HOURLY_RECURRENCE:
            period = 3600;
            break;
        case ICAL_DAILY_RECURRENCE:
            period = kSecondsPerDay;
            break;
        case ICAL_WEEKLY_RECURRENCE:
            period = 7 * kSecondsPerDay;
            break;
        case ICAL_MONTHLY_RECURRENCE:
            period = 8 * 31 * kSecondsPerDay;
            break;
        case ICAL_YEARLY_RECURRENCE:
            period = 8 * 366 * kSecondsPerDay;
            break;
        default:
            return false;
    }
    const std::int64_t periods =
        std::int64_t{rule.count} * std::clamp<std::int64_t>(rule.interval, 1, 1000);
    return WallSeconds(start) + (periods + 1) * period < wall;
}

class ICalendarReader {
  public:
    ICalendarReader(const std::string& name, DayRange days, EventList& events,
                    std::vector<std::string>& warnings,
                    std::chrono::steady_clock::time_point deadline)
        : name_(name), days_(days), events_(events), warnings_(warnings), deadline_(deadline) {}

    void Read(std::string_view text) {
        const Failure structure = ReadStructure(text);
        // An event the wrong line cut short is not read: the wrong line is what to tell.
        if (!blocks_.empty() && !blocks_.back().ended) {
            blocks_.pop_back();
        }
        std::vector<ReadEvent> read(blocks_.size());
        ForEach(blocks_.size(),
                [&](std::size_t k) { read[k] = ReadEventBlock(blocks_[k], days_); });
        blocks_.clear();
        unfolded_.clear();
        // The first line that cannot be read, wherever it is.
        Failure first = structure;
        for (ReadEvent& event : read) {
            if (event.failure.line != 0 && (first.line == 0 || event.failure.line < first.line)) {
                first = event.failure;
            }
        }
        if (first.line != 0 || !first.message.empty()) {
            Fail(first.line, first.message);
        }
        for (ReadEvent& event : read) {
            if (!event.warning.empty()) {
                Warn(event.line, event.warning);
            }
            if (event.component) {
                read_.push_back(std::move(event));
            }
        }
        ExpandEvents();
    }

  private:
    [[noreturn]] void Fail(int line, const std::string& message) const {
        throw ICalendarError(name_ + (line > 0 ? ":" + std::to_string(line) : "") + ": " + message);
    }

    void Warn(int line, const std::string& message) {
        warnings_.push_back(name_ + ":" + std::to_string(line) + ": " + message);
    }

    // Events that have an occurrence say which.
    void WarnOfEvent(const ReadEvent& event, const std::string& message) {
        const char* summary = icalcomponent_get_summary(event.component.get());
        Warn(event.line,
             "the event \"" + Printable(summary != nullptr ? summary : "") + "\": " + message);
    }

    // Goes through the lines: checks how components begin and end, reads the time zones,
    // and keeps each event's lines for reading. The first line that is wrong stops it
    // (and is returned; lines before it may still be wrong in an event).
    Failure ReadStructure(std::string_view text) {
        ContentLines lines(text);
        ContentLine line;
        std::vector<std::string> open;
        std::optional<ComponentParser> timeZone;
        int timeZoneBegun = 0;
        EventBlock* event = nullptr;
        bool sawCalendar = false;
        const auto wrong = [&](const std::string& message) {
            return Failure{line.number, message};
        };

        while (lines.Next(line)) {
            const std::string_view content = line.text;
            if (content.empty()) {
                continue;
            }
            if (content.find('\0') != std::string_view::npos) {
                return wrong("a NUL byte: this is not an iCalendar text file");
            }
            const std::string_view name = NameOf(content);
            const bool begin = SameName(name, "BEGIN");
            const bool end = SameName(name, "END");
            if (open.empty() && !(begin && ComponentOf(content) == "VCALENDAR")) {
                return wrong(sawCalendar ? "\"" + Printable(content) + "\" after END:VCALENDAR"
                                         : "not an iCalendar file: it does not begin with "
                                           "BEGIN:VCALENDAR");
            }
            if (content.find(':') == std::string_view::npos) {
                return wrong("not an iCalendar content line: \"" + Printable(content) + "\"");
            }
            if (begin) {
                open.push_back(ComponentOf(content));
                sawCalendar = true;
                if (open.size() == 2 && open.back() == "VEVENT") {
                    blocks_.push_back({line.number, {}, false, false});
                    event = &blocks_.back();
                    event->lines.reserve(12);
                } else if (open.size() == 2 && open.back() == "VTIMEZONE") {
                    timeZone.emplace();
                    timeZoneBegun = line.number;
                }
            } else if (end && open.back() != ComponentOf(content)) {
                return wrong("END:" + Printable(ComponentOf(content)) +
                             " where END:" + Printable(open.back()) + " was due");
            }

            if (event != nullptr && open.size() == 2 &&
                (begin || end ||
                 IsOneOf(name, {"UID", "SUMMARY", "STATUS", "DTSTART", "DTEND", "DURATION", "RRULE",
                                "RDATE", "EXDATE", "RECURRENCE-ID"}))) {
                ContentLine kept = line;
                if (kept.text.data() < text.data() ||
                    kept.text.data() >= text.data() + text.size()) {
                    kept.text = unfolded_.emplace_back(line.text);
                }
                event->lines.push_back(kept);
                event->recurs = event->recurs || IsOneOf(name, {"RRULE", "RDATE", "RECURRENCE-ID"});
            }
            icalcomponent* finished = nullptr;
            if (timeZone && open.size() >= 2) {
                finished = timeZone->Add(line, NeededInTimeZone(name));
            }
            if (end) {
                open.pop_back();
                if (open.size() == 1 && event != nullptr) {
                    event->ended = true;
                    event = nullptr;
                } else if (open.size() == 1 && timeZone) {
                    Component component(finished);
                    const Failure failure =
                        component ? timeZone->FirstFailure(component.get())
                                  : Failure{line.number, "libical could not read this VTIMEZONE"};
                    if (failure.line != 0) {
                        return failure;
                    }
                    KeepTimeZone(std::move(component), timeZoneBegun);
                    timeZone.reset();
                }
            }
        }
        if (!open.empty()) {
            return {lines.LastLine(), "the file ends inside " + Printable(open.back()) +
                                          ", before its END:" + Printable(open.back()) +
                                          " (is it cut short?)"};
        }
        if (!sawCalendar) {
            return {0, "not an iCalendar file: it is empty"};
        }
        return {};
    }

    // Whether each of the zone's rules gives a change or two a year, as real zones' rules
    // do ("the last Sunday of March", "the Sunday from the 8th to the 14th"). libical
    // follows them from their start to now, in steps no deadline of ours can stop: an
    // hourly rule from 1970 is half a million of them, a daily one from 1601 half a second.
    static bool ChangesYearly(icalcomponent* zone) {
        const auto count = [](const short* by) {
            int n = 0;
            while (by[n] != ICAL_RECURRENCE_ARRAY_MAX) {
                ++n;
            }
            return n;
        };
        const auto none = [&](const short* by) { return count(by) == 0; };
        for (icalcomponent* part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT);
             part != nullptr; part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
            for (icalproperty* rrule = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY);
                 rrule != nullptr;
                 rrule = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
                const icalrecurrencetype rule = icalproperty_get_rrule(rrule);
                if (rule.freq != ICAL_YEARLY_RECURRENCE || !none(rule.by_second) ||
                    !none(rule.by_minute) || !none(rule.by_hour) || !none(rule.by_year_day) ||
                    !none(rule.by_week_no) || count(rule.by_day) > 1 ||
                    count(rule.by_month_day) > 7) {
                    return false;
                }
            }
        }
        return true;
    }

    void KeepTimeZone(Component component, int line) {
        const char* id = nullptr;
        if (icalproperty* tzid =
                icalcomponent_get_first_property(component.get(), ICAL_TZID_PROPERTY)) {
            id = icalproperty_get_tzid(tzid);
        }
        if (id == nullptr || *id == '\0') {
            Warn(line, "a VTIMEZONE without TZID is left out");
            return;
        }
        const std::string tzid = id;
        if (!ChangesYearly(component.get())) {
            Warn(line, "the time zone \"" + Printable(tzid) +
                           "\" changes more often than once a year, as no zone does: it is "
                           "left out");
            return;
        }
        Zone zone(icaltimezone_new());
        if (!zone || icaltimezone_set_component(zone.get(), component.get()) == 0) {
            Warn(line, "the time zone \"" + Printable(tzid) + "\" cannot be read");
            return;
        }
        // The zone owns the component now.
        component.release();
        zones_.insert_or_assign(tzid, std::move(zone));
    }

    // --- after the whole file: its zones are known

    icaltimezone* ZoneNamed(const std::string& tzid, int line) {
        if (const auto own = zones_.find(tzid); own != zones_.end()) {
            return own->second.get();
        }
        if (const auto known = builtIn_.find(tzid); known != builtIn_.end()) {
            return known->second;
        }
        icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid.c_str());
        if (zone == nullptr) {
            zone = icaltimezone_get_builtin_timezone_from_tzid(tzid.c_str());
        }
        if (zone == nullptr) {
            Warn(line, "unknown time zone \"" + Printable(tzid) +
                           "\": its times are taken as local times");
        }
        builtIn_.emplace(tzid, zone);
        return zone;
    }

    // The moment a DTSTART, DTEND, RECURRENCE-ID, EXDATE or RDATE property holds.
    Moment MomentOf(icalproperty* property, icaltimetype time, int line) {
        Moment moment{time, nullptr};
        moment.time.zone = nullptr;
        if (time.is_date) {
            return moment;
        }
        if (icaltime_is_utc(time)) {
            moment.zone = icaltimezone_get_utc_timezone();
        } else if (icalparameter* tzid =
                       icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
            const char* id = icalparameter_get_tzid(tzid);
            moment.zone = id != nullptr ? ZoneNamed(id, line) : nullptr;
        }
        return moment;
    }

    // Local day and minute of a moment `later` seconds on; a date's day at minute -1.
    std::pair<std::int32_t, std::int32_t> LocalDayAndMinute(const Moment& moment,
                                                            std::int64_t later = 0) {
        if (moment.time.is_date) {
            return {DayOf(moment.time), -1};
        }
        std::int64_t wall = Seconds(moment) + later;
        if (moment.zone != nullptr) {
            const std::time_t instant = static_cast<std::time_t>(wall);
            std::tm local{};
            if (::localtime_r(&instant, &local) == nullptr) {
                return {std::numeric_limits<std::int32_t>::min(), 0};
            }
            wall = std::int64_t{DayNumberOf(local.tm_year + 1900, local.tm_mon, local.tm_mday)} *
                       kSecondsPerDay +
                   local.tm_hour * 3600 + local.tm_min * 60;
        }
        const std::int64_t day =
            wall >= 0 ? wall / kSecondsPerDay : (wall + 1) / kSecondsPerDay - 1;
        return {static_cast<std::int32_t>(day),
                static_cast<std::int32_t>((wall - day * kSecondsPerDay) / 60)};
    }

    Span SpanOf(icalcomponent* event, const Moment& start, int line) {
        Span span;
        if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
            const Moment until = MomentOf(end, icalproperty_get_dtend(end), line);
            if (start.time.is_date) {
                span.days = std::max(DayOf(until.time) - DayOf(start.time), 1);
                span.seconds = std::int64_t{span.days} * kSecondsPerDay;
            } else {
                span.seconds = std::max<std::int64_t>(Seconds(until) - Seconds(start), 0);
            }
        } else if (icalproperty* duration =
                       icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
            const std::int64_t seconds =
                std::max(icaldurationtype_as_int(icalproperty_get_duration(duration)), 0);
            span.seconds =
                start.time.is_date ? std::max<std::int64_t>(seconds, kSecondsPerDay) : seconds;
            span.days =
                static_cast<std::int32_t>(std::max<std::int64_t>(seconds / kSecondsPerDay, 1));
        } else {
            span.seconds = start.time.is_date ? kSecondsPerDay : 0;
        }
        if (!start.time.is_date) {
            span.days = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                (span.seconds + kSecondsPerDay - 1) / kSecondsPerDay, 1, 1 << 20));
        }
        return span;
    }

    // Occurrences an override's RECURRENCE-ID or an EXDATE takes away.
    struct Exclusions {
        std::set<std::int64_t> instants;  // zoned times, as seconds from the epoch
        std::set<std::int64_t> walls;     // floating times
        std::set<std::int32_t> dates;

        void Add(const Moment& moment) {
            if (moment.time.is_date) {
                dates.insert(DayOf(moment.time));
            } else if (moment.zone != nullptr) {
                instants.insert(Seconds(moment));
            } else {
                walls.insert(WallSeconds(moment.time));
            }
        }
        bool Exclude(const Moment& occurrence) const {
            return dates.contains(DayOf(occurrence.time)) ||
                   (!occurrence.time.is_date && walls.contains(WallSeconds(occurrence.time))) ||
                   (!occurrence.time.is_date && occurrence.zone != nullptr &&
                    instants.contains(Seconds(occurrence)));
        }
    };

    // An event ready to place: its start, how long it lasts, what is taken away, its
    // further dates and the rules to follow.
    struct Prepared {
        const ReadEvent* event = nullptr;
        Moment start;
        Span span;
        Exclusions excluded;
        std::vector<std::pair<Moment, Span>> dates;
        std::vector<std::size_t> walks;  // into walks_
    };

    void ExpandEvents() {
        std::map<std::string, Exclusions> overridden;
        for (const ReadEvent& event : read_) {
            if (event.isOverride && !event.uid.empty()) {
                icalproperty* id = icalcomponent_get_first_property(event.component.get(),
                                                                    ICAL_RECURRENCEID_PROPERTY);
                const Moment moment = MomentOf(id, icalproperty_get_recurrenceid(id), event.line);
                if (Plausible(moment.time)) {
                    overridden[event.uid].Add(moment);
                }
            }
        }
        static const Exclusions kNone;
        std::vector<Prepared> prepared;
        prepared.reserve(read_.size());
        walks_.reserve(read_.size());
        for (const ReadEvent& event : read_) {
            const auto others = overridden.find(event.uid);
            if (auto ready = Prepare(event, event.isOverride || others == overridden.end()
                                                ? kNone
                                                : others->second)) {
                prepared.push_back(std::move(*ready));
            }
        }
        ForEach(walks_.size(), [&](std::size_t k) { Walk(walks_[k], deadline_); });
        for (const Prepared& ready : prepared) {
            Place(ready);
        }
        read_.clear();
        walks_.clear();
    }

    std::optional<Prepared> Prepare(const ReadEvent& read, const Exclusions& overridden) {
        icalcomponent* event = read.component.get();
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
            return std::nullopt;
        }
        Prepared ready;
        ready.event = &read;
        icalproperty* startProperty =
            icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        ready.start = MomentOf(startProperty, icalproperty_get_dtstart(startProperty), read.line);
        if (!Plausible(ready.start.time)) {
            Warn(read.line, "an event whose DTSTART cannot be placed is left out");
            return std::nullopt;
        }
        ready.span = SpanOf(event, ready.start, read.line);
        ready.excluded = overridden;
        for (icalproperty* exdate = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
             exdate != nullptr;
             exdate = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
            ready.excluded.Add(MomentOf(exdate, icalproperty_get_exdate(exdate), read.line));
        }
        ready.dates.emplace_back(ready.start, ready.span);
        // An override stands for one occurrence; its own rules would make it more.
        if (read.isOverride) {
            return ready;
        }
        for (icalproperty* rdate = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
             rdate != nullptr;
             rdate = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(rdate);
            if (!icaltime_is_null_time(value.time)) {
                ready.dates.emplace_back(MomentOf(rdate, value.time, read.line), ready.span);
                continue;
            }
            const Moment from = MomentOf(rdate, value.period.start, read.line);
            Span lasting = ready.span;
            lasting.seconds =
                icaltime_is_null_time(value.period.end)
                    ? std::max(icaldurationtype_as_int(value.period.duration), 0)
                    : std::max<std::int64_t>(
                          Seconds(MomentOf(rdate, value.period.end, read.line)) - Seconds(from), 0);
            ready.dates.emplace_back(from, lasting);
        }
        for (icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
             rrule != nullptr;
             rrule = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            PrepareWalk(rrule, ready);
        }
        return ready;
    }

    // The rule in the start's own clock, followed from a little before the first day
    // asked for (less the time an occurrence lasts) to a little after the last; nothing
    // to follow where it cannot come near them.
    void PrepareWalk(icalproperty* rrule, Prepared& ready) {
        icalrecurrencetype rule = icalproperty_get_rrule(rrule);
        if (rule.freq == ICAL_NO_RECURRENCE) {
            return;
        }
        if (rule.rscale != nullptr && !SameName(rule.rscale, "GREGORIAN")) {
            WarnOfEvent(*ready.event,
                        "its recurrence in another calendar than the Gregorian "
                        "is not followed");
            return;
        }
        // Stepping needs no zone: the walk is in the wall clock of the start, and its
        // end is taken into that clock here.
        const Moment& start = ready.start;
        const icaltimetype first = start.time;
        const auto date = [&](std::int32_t day) {
            const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{day}}};
            icaltimetype t = first;
            t.year = static_cast<int>(ymd.year());
            t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
            t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
            t.hour = t.minute = t.second = 0;
            return t;
        };
        icaltimetype until = date(days_.last + kMarginDays);
        if (!until.is_date) {
            until.hour = 23;
            until.minute = 59;
            until.second = 59;
        }
        if (!icaltime_is_null_time(rule.until)) {
            icaltimetype given = rule.until;
            if (!given.is_date && !first.is_date && start.zone != nullptr &&
                icaltime_is_utc(given)) {
                given = icaltime_convert_to_zone(given, start.zone);
            }
            given.zone = nullptr;
            if (icaltime_compare(given, until) < 0) {
                until = given;
            }
        }
        rule.until = until;
        RuleWalk walk;
        walk.windowStart = date(days_.first - ready.span.days - kMarginDays);
        if (icaltime_compare(first, until) > 0 || icaltime_compare(until, walk.windowStart) < 0 ||
            EndsBefore(rule, first, WallSeconds(walk.windowStart))) {
            return;
        }
        walk.skipAhead = rule.count == 0 && icaltime_compare(walk.windowStart, first) > 0;
        // Rules more often than daily step through every period between.
        const std::int64_t period = rule.freq == ICAL_SECONDLY_RECURRENCE   ? 1
                                    : rule.freq == ICAL_MINUTELY_RECURRENCE ? 60
                                    : rule.freq == ICAL_HOURLY_RECURRENCE   ? 3600
                                                                            : 0;
        const icaltimetype from = walk.skipAhead ? walk.windowStart : first;
        if (period > 0 && (WallSeconds(until) - WallSeconds(from)) /
                                  (period * std::max<std::int64_t>(rule.interval, 1)) >
                              kMostStepsOfOneRule) {
            WarnOfEvent(*ready.event,
                        "a recurrence this frequent is not followed over so long a time");
            return;
        }
        walk.rrule = rrule;
        walk.until = until;
        walk.first = first;
        ready.walks.push_back(walks_.size());
        walks_.push_back(std::move(walk));
    }

    void Place(const Prepared& ready) {
        icalcomponent* event = ready.event->component.get();
        title_.reset();
        std::set<std::int64_t> placed;
        const auto place = [&](const Moment& occurrence, const Span& lasting) {
            if (!Plausible(occurrence.time) || ready.excluded.Exclude(occurrence) ||
                !placed.insert(Seconds(occurrence)).second) {
                return;
            }
            Add(occurrence, lasting, event);
        };
        for (const auto& [date, lasting] : ready.dates) {
            place(date, lasting);
        }
        for (const std::size_t k : ready.walks) {
            const RuleWalk& walk = walks_[k];
            for (const icaltimetype& found : walk.found) {
                place(Moment{found, ready.start.zone}, ready.span);
            }
            switch (walk.outcome) {
                case RuleWalk::Outcome::Followed:
                    break;
                case RuleWalk::Outcome::Refused:
                    WarnOfEvent(*ready.event,
                                "libical cannot follow its recurrence rule: only "
                                "its first occurrence is shown");
                    break;
                case RuleWalk::Outcome::TooMany:
                    WarnOfEvent(*ready.event,
                                "its recurrence has too many occurrences: only "
                                "the first are shown");
                    break;
                case RuleWalk::Outcome::OutOfTime:
                    if (!outOfTime_) {
                        outOfTime_ = true;
                        WarnOfEvent(*ready.event,
                                    "following recurrences took too long: this and "
                                    "later events may lack occurrences");
                    }
                    break;
            }
        }
    }

    void Add(const Moment& start, const Span& span, icalcomponent* event) {
        const auto [firstDay, minute] = LocalDayAndMinute(start);
        std::int32_t lastDay = firstDay;
        if (start.time.is_date) {
            lastDay = firstDay + span.days - 1;
        } else if (span.seconds > 0) {
            lastDay = LocalDayAndMinute(start, span.seconds - 1).first;
        }
        if (lastDay < days_.first || firstDay > days_.last ||
            events_.occurrences.size() >= kMostOccurrences) {
            return;
        }
        if (!title_) {
            const char* summary = icalcomponent_get_summary(event);
            events_.titles.emplace_back(summary != nullptr ? summary : "");
            title_ = static_cast<std::uint32_t>(events_.titles.size() - 1);
        }
        events_.occurrences.push_back({firstDay, std::max(lastDay, firstDay), minute, *title_});
    }

    const std::string& name_;
    DayRange days_;
    EventList& events_;
    std::vector<std::string>& warnings_;
    std::deque<EventBlock> blocks_;
    std::deque<std::string> unfolded_;  // the events' folded lines
    std::map<std::string, Zone> zones_;
    std::map<std::string, icaltimezone*> builtIn_;
    std::vector<ReadEvent> read_;
    std::vector<RuleWalk> walks_;
    // The title of the event being placed, once it has an occurrence.
    std::optional<std::uint32_t> title_;
    std::chrono::steady_clock::time_point deadline_;
    bool outOfTime_ = false;
};

}  // namespace

void ReadICalendarEvents(const std::string& name, std::string_view text, DayRange days,
                         EventList& events, std::vector<std::string>& warnings,
                         std::chrono::steady_clock::time_point recurrenceDeadline) {
    icalerror_set_errors_are_fatal(0);
    ::tzset();
    ICalendarReader(name, days, events, warnings, recurrenceDeadline).Read(text);
}

}  // namespace tessaly
