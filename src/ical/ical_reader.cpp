// The events of one iCalendar text: its lines gone through once for their structure and
// time zones, its events then read by libical, their rules followed, and each occurrence
// placed in the local time zone.
#include "ical/ical_reader.h"

#include <libical/ical.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <thread>

#include "ical/content_lines.h"
#include "ical/event_blocks.h"
#include "ical/recurrence.h"
#include "ical/time_zones.h"

namespace tessaly {

namespace ical {
namespace {

// No file gives more occurrences than this, whatever its rules.
constexpr std::size_t kMostOccurrences = 1000000;
// Calendars nest components three or four deep (VCALENDAR, VTIMEZONE, STANDARD).
constexpr std::size_t kMostNesting = 32;
// Each event read costs libical some kilobytes; a file of more is not a calendar, and
// would take gigabytes and minutes.
constexpr std::size_t kMostEvents = 100000;
// A calendar has a zone for each it names, a few; each costs libical a parse and a count.
constexpr int kMostTimeZones = 1000;

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

    // Events that have an occurrence say which, by the title read before any walk through
    // the event's properties: reading it restarts libical's one walk of them.
    void WarnOfEvent(int line, const std::string& title, const std::string& message) {
        Warn(line, "the event \"" + Printable(title) + "\": " + message);
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
        int timeZones = 0;
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
                if (sawCalendar) {
                    return wrong("\"" + Printable(content) + "\" after END:VCALENDAR");
                }
                // Lines that end in CR alone come as one line.
                return wrong(content.find('\r') != std::string_view::npos
                                 ? "not an iCalendar file as written: its lines end in CR alone, "
                                   "where iCalendar ends them in CR LF"
                                 : "not an iCalendar file: it does not begin with "
                                   "BEGIN:VCALENDAR");
            }
            if (content.find(':') == std::string_view::npos) {
                return wrong("not an iCalendar content line: \"" + Printable(content) + "\"");
            }
            if (begin) {
                open.push_back(ComponentOf(content));
                sawCalendar = true;
                // libical builds and frees a component's parts recursively: a deep enough
                // nesting would use up the stack.
                if (open.size() > kMostNesting) {
                    return wrong("BEGIN:" + Printable(open.back()) + " nests components " +
                                 std::to_string(open.size()) + " deep, where " +
                                 std::to_string(kMostNesting) + " is the most that is read");
                }
                if (open.size() == 2 && open.back() == "VEVENT") {
                    // At once: reading the events before would take what this spares.
                    if (blocks_.size() == kMostEvents) {
                        Fail(line.number, "more than " + std::to_string(kMostEvents) +
                                              " events: a file this large is not read");
                    }
                    blocks_.push_back({line.number, {}, false, false});
                    event = &blocks_.back();
                    event->lines.reserve(12);
                } else if (open.size() == 2 && open.back() == "VTIMEZONE") {
                    if (++timeZones > kMostTimeZones) {
                        Fail(line.number, "more than " + std::to_string(kMostTimeZones) +
                                              " time zones: a file like this is not read");
                    }
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
                    zones_.Keep(std::move(component), timeZoneBegun);
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

    // --- after the whole file: its zones are known

    Span SpanOf(icalcomponent* event, const Moment& start, int line) {
        Span span;
        if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
            const Moment until = zones_.MomentOf(end, icalproperty_get_dtend(end), line);
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
        std::string title;
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
                const Moment moment =
                    zones_.MomentOf(id, icalproperty_get_recurrenceid(id), event.line);
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
        const char* summary = icalcomponent_get_summary(event);
        ready.title = summary != nullptr ? summary : "";
        icalproperty* startProperty =
            icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        ready.start =
            zones_.MomentOf(startProperty, icalproperty_get_dtstart(startProperty), read.line);
        if (!Plausible(ready.start.time)) {
            Warn(read.line, "an event whose DTSTART cannot be placed is left out");
            return std::nullopt;
        }
        ready.span = SpanOf(event, ready.start, read.line);
        ready.excluded = overridden;
        for (icalproperty* exdate = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
             exdate != nullptr;
             exdate = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
            ready.excluded.Add(zones_.MomentOf(exdate, icalproperty_get_exdate(exdate), read.line));
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
                ready.dates.emplace_back(zones_.MomentOf(rdate, value.time, read.line), ready.span);
                continue;
            }
            const Moment from = zones_.MomentOf(rdate, value.period.start, read.line);
            Span lasting = ready.span;
            lasting.seconds =
                icaltime_is_null_time(value.period.end)
                    ? std::max(icaldurationtype_as_int(value.period.duration), 0)
                    : std::max<std::int64_t>(
                          Seconds(zones_.MomentOf(rdate, value.period.end, read.line)) -
                              Seconds(from),
                          0);
            ready.dates.emplace_back(from, lasting);
        }
        for (icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
             rrule != nullptr;
             rrule = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            const auto warn = [&](const std::string& message) {
                WarnOfEvent(read.line, ready.title, message);
            };
            if (auto walk = PrepareWalk(rrule, ready.start, ready.span, days_, warn)) {
                ready.walks.push_back(walks_.size());
                walks_.push_back(std::move(*walk));
            }
        }
        return ready;
    }

    void Place(const Prepared& ready) {
        title_.reset();
        std::set<std::int64_t> placed;
        const auto place = [&](const Moment& occurrence, const Span& lasting) {
            if (!Plausible(occurrence.time) || ready.excluded.Exclude(occurrence) ||
                !placed.insert(Seconds(occurrence)).second) {
                return;
            }
            Add(occurrence, lasting, ready.title);
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
                    WarnOfEvent(ready.event->line, ready.title,
                                "libical cannot follow its recurrence rule: only "
                                "its first occurrence is shown");
                    break;
                case RuleWalk::Outcome::TooMany:
                    WarnOfEvent(ready.event->line, ready.title,
                                "its recurrence has too many occurrences: only "
                                "the first are shown");
                    break;
                case RuleWalk::Outcome::OutOfTime:
                    if (!outOfTime_) {
                        outOfTime_ = true;
                        WarnOfEvent(ready.event->line, ready.title,
                                    "following recurrences took too long: this and "
                                    "later events may lack occurrences");
                    }
                    break;
            }
        }
    }

    void Add(const Moment& start, const Span& span, const std::string& title) {
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
            events_.titles.push_back(title);
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
    TimeZones zones_{[this](int line, const std::string& message) { Warn(line, message); }};
    std::vector<ReadEvent> read_;
    std::vector<RuleWalk> walks_;
    // The title of the event being placed, once it has an occurrence.
    std::optional<std::uint32_t> title_;
    std::chrono::steady_clock::time_point deadline_;
    bool outOfTime_ = false;
};

}  // namespace
}  // namespace ical

void ReadICalendarEvents(const std::string& name, std::string_view text, DayRange days,
                         EventList& events, std::vector<std::string>& warnings,
                         std::chrono::steady_clock::time_point recurrenceDeadline) {
    icalerror_set_errors_are_fatal(0);
    ::tzset();
    ical::ICalendarReader(name, days, events, warnings, recurrenceDeadline).Read(text);
}

}  // namespace tessaly
