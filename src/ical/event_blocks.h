#pragma once

// Components' lines handed to libical: a time zone's as the file is gone through, each
// event's afterwards, on their own and on any thread.
#include <libical/ical.h>

#include <string>
#include <string_view>
#include <vector>

#include "calendar/events.h"
#include "core/owned.h"
#include "ical/content_lines.h"
#include "ical/time_zones.h"

namespace tessaly::ical {

// What a time zone is made of, which must be read; its name may go.
bool NeededInTimeZone(std::string_view name);

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
    icalcomponent* Add(const ContentLine& line, bool needed);

    // The first needed line libical could not read, in libical's words where its
    // errors can be told apart.
    Failure FirstFailure(icalcomponent* component) const;

  private:
    Owned<icalparser, icalparser_free> parser_;
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

// One event's lines read by libical; nothing kept of one far from `days`.
ReadEvent ReadEventBlock(const EventBlock& block, DayRange days);

}  // namespace tessaly::ical
