// The iCalendar reader on small texts: recurrences and time zones give the occurrences
// a calendar shows, in the user's time zone (TZ). Expected days and minutes are
// computed by hand from RFC 5545's rules, as each row says; zone offsets are Python 3's
// zoneinfo's.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <compare>
#include <cstdlib>
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "ical/ical_reader.h"

namespace tessaly {
namespace {

// Days from 1970-01-01, by the standard library's calendar.
std::int32_t DayOf(std::chrono::sys_days day) {
    return static_cast<std::int32_t>(day.time_since_epoch().count());
}
std::int32_t Day(int year, unsigned month, unsigned day) {
    return DayOf(std::chrono::year{year} / month / day);
}
DayRange Months(int year, unsigned first, unsigned last) {
    return {Day(year, first, 1),
            DayOf(std::chrono::year{year} / std::chrono::month{last} / std::chrono::last)};
}

std::string Event(const std::string& lines) {
    return "BEGIN:VEVENT\n" + lines + "END:VEVENT\n";
}

struct Seen {
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::int32_t minute = -1;
    std::string title;
    auto operator<=>(const Seen&) const = default;
};
void PrintTo(const Seen& s, std::ostream* out) {
    *out << s.title << " " << s.first << "-" << s.last << " at " << s.minute;
}

struct ReaderCase {
    const char* what;
    const char* timeZone;
    std::string events;  // the VCALENDAR's lines from line 3 on
    DayRange days;
    std::vector<Seen> seen;  // sorted: by first day, last day, minute, title
    std::vector<std::string> warnings = {};
};

TEST(ICalendarEvents, RulesAndZonesGiveTheOccurrencesOfTheDaysAsked) {
    const DayRange december = Months(2026, 12, 12);
    const auto at = [](std::int32_t day, int hour, int minute, const char* title) {
        return Seen{day, day, hour * 60 + minute, title};
    };
    const ReaderCase cases[] = {
        // Three days from the 1st, the wall clock kept.
        {"daily, counted",
         "UTC",
         Event("SUMMARY:Daily\nDTSTART:20261201T090000\nRRULE:FREQ=DAILY;COUNT=3\n"),
         december,
         {at(Day(2026, 12, 1), 9, 0, "Daily"), at(Day(2026, 12, 2), 9, 0, "Daily"),
          at(Day(2026, 12, 3), 9, 0, "Daily")}},
        // 7 December 2026 is a Monday; UNTIL is the last Wednesday's start, inclusive.
        {"weekly on two days until",
         "UTC",
         Event("SUMMARY:Gym\nDTSTART:20261207T100000\n"
               "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20261216T100000\n"),
         december,
         {at(Day(2026, 12, 7), 10, 0, "Gym"), at(Day(2026, 12, 9), 10, 0, "Gym"),
          at(Day(2026, 12, 14), 10, 0, "Gym"), at(Day(2026, 12, 16), 10, 0, "Gym")}},
        // From February to May only March and May have a 31st.
        {"monthly on the 31st",
         "UTC",
         Event("SUMMARY:Rent\nDTSTART;VALUE=DATE:20260131\nRRULE:FREQ=MONTHLY\n"),
         Months(2026, 2, 5),
         {{Day(2026, 3, 31), Day(2026, 3, 31), -1, "Rent"},
          {Day(2026, 5, 31), Day(2026, 5, 31), -1, "Rent"}}},
        // Of 2027 and 2028, only 2028 is a leap year.
        {"yearly on 29 February",
         "UTC",
         Event("SUMMARY:Leap\nDTSTART;VALUE=DATE:20240229\nRRULE:FREQ=YEARLY\n"),
         {Day(2027, 1, 1), Day(2028, 12, 31)},
         {{Day(2028, 2, 29), Day(2028, 2, 29), -1, "Leap"}}},
        // The 1st to the 3rd, less the 2nd.
        {"EXDATE",
         "UTC",
         Event("SUMMARY:Standup\nDTSTART:20261201T080000\nRRULE:FREQ=DAILY;COUNT=3\n"
               "EXDATE:20261202T080000\n"),
         december,
         {at(Day(2026, 12, 1), 8, 0, "Standup"), at(Day(2026, 12, 3), 8, 0, "Standup")}},
        {"RDATE",
         "UTC",
         Event("SUMMARY:Talk\nDTSTART:20261205T120000\nDTEND:20261205T130000\n"
               "RDATE:20261210T150000\n"),
         december,
         {at(Day(2026, 12, 5), 12, 0, "Talk"), at(Day(2026, 12, 10), 15, 0, "Talk")}},
        // Tuesdays 1, 8 and 15 December; the 8th's is moved to the 9th at 14:00.
        {"RECURRENCE-ID",
         "UTC",
         Event("UID:w\nSUMMARY:Weekly\nDTSTART:20261201T090000\nRRULE:FREQ=WEEKLY;COUNT=3\n") +
             Event("UID:w\nSUMMARY:Moved\nRECURRENCE-ID:20261208T090000\n"
                   "DTSTART:20261209T140000\n"),
         december,
         {at(Day(2026, 12, 1), 9, 0, "Weekly"), at(Day(2026, 12, 9), 14, 0, "Moved"),
          at(Day(2026, 12, 15), 9, 0, "Weekly")}},
        // The file's zone: +02:00 in July, +01:00 in December, so 07:00 and 08:00 UTC.
        {"the file's VTIMEZONE",
         "UTC",
         "BEGIN:VTIMEZONE\nTZID:Office-Time\n"
         "BEGIN:STANDARD\nDTSTART:19701025T030000\nTZOFFSETFROM:+0200\nTZOFFSETTO:+0100\n"
         "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nEND:STANDARD\n"
         "BEGIN:DAYLIGHT\nDTSTART:19700329T020000\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\n"
         "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\nEND:DAYLIGHT\nEND:VTIMEZONE\n" +
             Event("SUMMARY:Office\nDTSTART;TZID=Office-Time:20260701T090000\n"
                   "RDATE;TZID=Office-Time:20261201T090000\n"),
         Months(2026, 7, 12),
         {at(Day(2026, 7, 1), 7, 0, "Office"), at(Day(2026, 12, 1), 8, 0, "Office")}},
        // Rules from 1601, as Outlook writes them, start in 1900 and stay a zone's: +01:00
        // before the first spring, so 08:00 UTC.
        {"the file's VTIMEZONE from 1601",
         "UTC",
         "BEGIN:VTIMEZONE\nTZID:Office-Time\n"
         "BEGIN:STANDARD\nDTSTART:16011028T030000\nTZOFFSETFROM:+0200\nTZOFFSETTO:+0100\n"
         "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nEND:STANDARD\n"
         "BEGIN:DAYLIGHT\nDTSTART:16010325T020000\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\n"
         "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\nEND:DAYLIGHT\nEND:VTIMEZONE\n" +
             Event("SUMMARY:Office\nDTSTART;TZID=Office-Time:19000101T090000\n"),
         Months(1900, 1, 1),
         {at(Day(1900, 1, 1), 8, 0, "Office")}},
        // Noon in New York (-05:00) is 02:00 the next day in Tokyo (+09:00).
        {"a zone libical knows",
         "Asia/Tokyo",
         Event("SUMMARY:Call\nDTSTART;TZID=America/New_York:20261203T120000\n"),
         december,
         {at(Day(2026, 12, 4), 2, 0, "Call")}},
        // 23:30 UTC is 00:30 the next day in Berlin (+01:00).
        {"UTC",
         "Europe/Berlin",
         Event("SUMMARY:Late\nDTSTART:20261201T233000Z\n"),
         december,
         {at(Day(2026, 12, 2), 0, 30, "Late")}},
        {"an unknown zone",
         "America/Los_Angeles",
         Event("SUMMARY:Rover\nDTSTART;TZID=Mars/Olympus_Mons:20261208T070000\n"),
         december,
         {at(Day(2026, 12, 8), 7, 0, "Rover")},
         {"t.ics:3: unknown time zone \"Mars/Olympus_Mons\": its times are taken as local "
          "times"}},
        // DTEND is exclusive: 30 December to 1 January.
        {"all day over the year's end",
         "UTC",
         Event("SUMMARY:Retreat\nDTSTART;VALUE=DATE:20261230\nDTEND;VALUE=DATE:20270102\n"),
         december,
         {{Day(2026, 12, 30), Day(2027, 1, 1), -1, "Retreat"}}},
        {"past midnight",
         "UTC",
         Event("SUMMARY:Party\nDTSTART:20261210T220000\nDTEND:20261211T020000\n"),
         december,
         {{Day(2026, 12, 10), Day(2026, 12, 11), 22 * 60, "Party"}}},
        // Berlin 09:30 is 07:30 UTC in summer time (+02:00, to 25 October), then 08:30.
        {"weekly across the end of summer time",
         "UTC",
         Event("SUMMARY:Class\nDTSTART;TZID=Europe/Berlin:20261019T093000\n"
               "RRULE:FREQ=WEEKLY;COUNT=3\n"),
         Months(2026, 10, 11),
         {at(Day(2026, 10, 19), 7, 30, "Class"), at(Day(2026, 10, 26), 8, 30, "Class"),
          at(Day(2026, 11, 2), 8, 30, "Class")}},
        // Mend: libical reads a time the clock skips with the offset after the change,
        // and one it gives twice as the second; RFC 5545 (3.3.5) says the offset before,
        // and the first. New York, 2026: 02:30 on 8 March does not happen, EST (-05:00)
        // gives 07:30 UTC, 03:30 EDT; 01:30 on 1 November happens in EDT (-04:00) first.
        {"a time the clock skips",
         "UTC",
         Event("SUMMARY:Gap\nDTSTART;TZID=America/New_York:20260308T023000\n"),
         Months(2026, 3, 3),
         {at(Day(2026, 3, 8), 7, 30, "Gap")}},
        {"a time the clock skips, seen there",
         "America/New_York",
         Event("SUMMARY:Gap\nDTSTART;TZID=America/New_York:20260308T023000\n"),
         Months(2026, 3, 3),
         {at(Day(2026, 3, 8), 3, 30, "Gap")}},
        {"a time the clock gives twice",
         "UTC",
         Event("SUMMARY:Twice\nDTSTART;TZID=America/New_York:20261101T013000\n"),
         Months(2026, 11, 11),
         {at(Day(2026, 11, 1), 5, 30, "Twice")}},
        {"a time the clock gives twice, seen there",
         "America/New_York",
         Event("SUMMARY:Twice\nDTSTART;TZID=America/New_York:20261101T013000\n"),
         Months(2026, 11, 11),
         {at(Day(2026, 11, 1), 1, 30, "Twice")}},
        // Without ICU libical follows no calendar but the Gregorian; neither build does.
        {"a rule by the Hebrew calendar",
         "UTC",
         Event("SUMMARY:Purim\nDTSTART;VALUE=DATE:20261203\nRRULE:RSCALE=HEBREW;FREQ=YEARLY\n"),
         december,
         {},
         {"t.ics:3: the event \"Purim\": it recurs by another calendar than the Gregorian "
          "(RSCALE=HEBREW), which is not followed: it is left out"}},
        // Ten days of January 2020: over long before December 2026.
        {"counted, over before the days",
         "UTC",
         Event("SUMMARY:Old\nDTSTART:20200101T090000\nRRULE:FREQ=DAILY;COUNT=10\n"),
         december,
         {}},
        // The 31sts of 2026: January, March, May, July, August, October, the sixth.
        {"counted on the 31st, still running",
         "UTC",
         Event("SUMMARY:Rent\nDTSTART;VALUE=DATE:20260131\nRRULE:FREQ=MONTHLY;COUNT=6\n"),
         Months(2026, 10, 10),
         {{Day(2026, 10, 31), Day(2026, 10, 31), -1, "Rent"}}},
    };
    const char* const savedZone = std::getenv("TZ");
    const std::string saved = savedZone != nullptr ? savedZone : "";
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        ::setenv("TZ", c.timeZone, 1);
        ::tzset();
        EventList events;
        std::vector<std::string> warnings;
        ReadICalendarEvents(
            "t.ics", "BEGIN:VCALENDAR\nVERSION:2.0\n" + c.events + "END:VCALENDAR\n", c.days,
            events, warnings, std::chrono::steady_clock::now() + std::chrono::seconds(10));
        std::vector<Seen> seen;
        for (const EventOccurrence& o : events.occurrences) {
            seen.push_back({o.firstDay, o.lastDay, o.startMinute, events.titles.at(o.title)});
        }
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(warnings, c.warnings);
    }
    if (savedZone != nullptr) {
        ::setenv("TZ", saved.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

}  // namespace
}  // namespace tessaly
