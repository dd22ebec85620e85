#!/usr/bin/env bash
# tessaly-cli --events from process start to PDF written (hyperfine -N): one month of a
# 5,000-event calendar export with recurrences, made here, like a work calendar of eight
# years: mostly single appointments, and one in six a series (meetings weekly, monthly or
# for some days, birthdays yearly), some with exceptions and moved occurrences, in a time
# zone of the file's own, with the descriptions and alarms exports carry. A benchmark,
# not a test: it prints the medians and never fails on them (target: under 50 ms).
#
#   bench/events.sh [TESSALY_CLI [RUNS]]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$root/build/dev/src/cli/tessaly-cli}"
runs="${2:-40}"
if [ ! -x "$cli" ]; then
    (cd "$root" && cmake --preset dev >/dev/null && cmake --build --preset dev --target tessaly-cli)
fi
command -v hyperfine >/dev/null || { echo "events.sh: hyperfine is missing" >&2; exit 1; }

work="$(mktemp -d /tmp/tessaly-events-bench.XXXXXX)"
trap 'rm -rf -- "$work"' EXIT
/usr/bin/python3 - "$work/calendar.ics" <<'PY'
import datetime, random, sys
random.seed(14)
lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Tessaly bench//EN",
         "BEGIN:VTIMEZONE", "TZID:Europe/Berlin",
         "BEGIN:DAYLIGHT", "TZOFFSETFROM:+0100", "TZOFFSETTO:+0200", "TZNAME:CEST",
         "DTSTART:19700329T020000", "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", "END:DAYLIGHT",
         "BEGIN:STANDARD", "TZOFFSETFROM:+0200", "TZOFFSETTO:+0100", "TZNAME:CET",
         "DTSTART:19701025T030000", "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU", "END:STANDARD",
         "END:VTIMEZONE"]
for n in range(4900):
    year, month, day = random.randint(2019, 2026), random.randint(1, 12), random.randint(1, 28)
    hour = random.randint(7, 18)
    start = f"{year:04}{month:02}{day:02}"
    kind = random.random()
    uid = f"event-{n}@bench.tessaly"
    event = ["BEGIN:VEVENT", f"UID:{uid}", "DTSTAMP:20260101T000000Z",
             f"SUMMARY:{random.choice(['Meeting', 'Review', 'Call', 'Lunch', 'Workshop'])} {n}",
             "DESCRIPTION:Agenda and notes for the occasion\\, as calendar exports carry "
             "them\\, folded over two lines of the file to show",
             " what the reader skips.", f"LOCATION:Room {n % 40}", "STATUS:CONFIRMED",
             "SEQUENCE:0", "TRANSP:OPAQUE"]
    moved = None
    if kind < 0.05:  # birthdays and anniversaries
        event += [f"DTSTART;VALUE=DATE:{start}", "RRULE:FREQ=YEARLY"]
    else:
        event += [f"DTSTART;TZID=Europe/Berlin:{start}T{hour:02}0000",
                  f"DTEND;TZID=Europe/Berlin:{start}T{hour:02}4500"]
        if kind < 0.12:
            event.append("RRULE:FREQ=WEEKLY;BYDAY=" + random.choice(["MO", "TU", "WE", "TH", "FR"]))
            week_later = (datetime.date(year, month, day) + datetime.timedelta(7)).strftime("%Y%m%d")
            event.append(f"EXDATE;TZID=Europe/Berlin:{week_later}T{hour:02}0000")
            moved = start
        elif kind < 0.14:
            event.append(f"RRULE:FREQ=DAILY;COUNT={random.randint(5, 400)}")
        elif kind < 0.16:
            event.append("RRULE:FREQ=MONTHLY;BYDAY=1MO")
    event += ["BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT15M", "END:VALARM", "END:VEVENT"]
    lines += event
    if moved and n % 3 == 0:  # the first occurrence of the series, an hour later
        lines += ["BEGIN:VEVENT", f"UID:{uid}", "DTSTAMP:20260101T000000Z",
                  f"RECURRENCE-ID;TZID=Europe/Berlin:{moved}T{hour:02}0000",
                  f"DTSTART;TZID=Europe/Berlin:{moved}T{hour + 1:02}0000",
                  f"DTEND;TZID=Europe/Berlin:{moved}T{hour + 1:02}4500",
                  "SUMMARY:Moved", "END:VEVENT"]
lines.append("END:VCALENDAR")
with open(sys.argv[1], "w", newline="") as f:
    f.write("\r\n".join(lines) + "\r\n")
PY
export SOURCE_DATE_EPOCH=1767225600 TZ=Europe/Berlin
echo "$(grep -c '^BEGIN:VEVENT' "$work/calendar.ics") events, $(stat -c %s "$work/calendar.ics") bytes"
hyperfine -N --warmup 5 --runs "$runs" --export-json "$work/times.json" \
    -n "PDF without events" "$cli --pdf --month 12 --year 2026 --output $work" \
    -n "PDF with 5,000 events" "$cli --pdf --month 12 --year 2026 --events $work/calendar.ics --output $work" \
    -n "HTML with 5,000 events" "$cli --month 12 --year 2026 --events $work/calendar.ics --output $work" >/dev/null
/usr/bin/python3 - "$work/times.json" <<'PY'
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(f"  {r['command']:24} median {r['median'] * 1000:7.2f} ms")
PY
