#!/usr/bin/env bash
# Process start to output, side by side in one run (hyperfine -N): a year on one PDF page
# against the physical limit (write_limit.c writing the same bytes, fsync, rename), on
# Letter and on German A4 (both made by the static program); a month as
# text against cal, started the same way; and Python's calendar.TextCalendar. A
# benchmark, not a test: it prints medians and ratios and never fails on them.
#
#   bench/year-and-text.sh [TESSALY_CLI [RUNS]]
#
# The files go into a folder under $TESSALY_BENCH_DIR (/tmp when unset); see
# compare-startup.sh for why a tmpfs such as /dev/shm compares the work alone.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$root/build/dev/src/cli/tessaly-cli}"
runs="${2:-40}"
if [ ! -x "$cli" ]; then
    (cd "$root" && cmake --preset dev >/dev/null && cmake --build --preset dev --target tessaly-cli)
fi
for tool in hyperfine gcc cal /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "year-and-text: $tool is missing" >&2; exit 1; }
done

work="$(mktemp -d "${TESSALY_BENCH_DIR:-/tmp}/tessaly-bench.XXXXXX")"
trap 'rm -rf -- "$work"' EXIT
mkdir -p "$work/letter" "$work/a4" "$work/out"
export SOURCE_DATE_EPOCH=1767225600
letter=(--layout year --year 2027 --pdf --week-numbers --color-weekends)
a4=(--layout year --year 2027 --pdf --paper a4 --week-numbers --color-weekends
    --locale de_DE.UTF-8)
"$cli" "${letter[@]}" --output "$work/letter" >/dev/null
"$cli" --layout year --year 2027 --week-numbers --color-weekends --output "$work/letter" \
    >/dev/null
"$cli" "${a4[@]}" --output "$work/a4" >/dev/null
for paper in letter a4; do
    gcc -O2 -static -o "$work/limit-$paper" "$root/bench/write_limit.c" \
        -DHTML_FILE="\"$work/letter/calendar-2027.html\"" \
        -DPDF_FILE="\"$work/$paper/calendar-2027.pdf\""
done

python_month="import calendar; print(calendar.TextCalendar(6).formatmonth(2026, 2), end='')"
commands=(
    -n "year PDF Letter" "$cli ${letter[*]} --output $work/out"
    -n "limit Letter" "$work/limit-letter pdf $work/out/limit-letter.pdf"
    -n "year PDF A4 de" "$cli ${a4[*]} --output $work/out"
    -n "limit A4 de" "$work/limit-a4 pdf $work/out/limit-a4.pdf"
    -n "text month" "$cli --format text --month 2 --year 2026"
    -n "cal month" "cal 2 2026"
    -n "Python TextCalendar" "/usr/bin/python3 -c \"$python_month\""
)

# In rounds of five runs of each command, so that a burst of load from elsewhere falls
# on every command alike.
per_round=5
rounds=$(((runs + per_round - 1) / per_round))
hyperfine -N --warmup 10 --runs 1 "${commands[@]}" >/dev/null
for ((round = 1; round <= rounds; round++)); do
    hyperfine -N --warmup 1 --runs "$per_round" --export-json "$work/times-$round.json" \
        "${commands[@]}" >/dev/null
done

/usr/bin/python3 - "$(stat -c %s "$work/letter/calendar-2027.pdf")" \
    "$(stat -c %s "$work/a4/calendar-2027.pdf")" "$work"/times-*.json <<'PY'
import json, sys
import statistics
times = {}
for path in sys.argv[3:]:
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])
median = {name: statistics.median(t) * 1000 for name, t in times.items()}
print(f"Median of {len(next(iter(times.values())))} runs each, process start to output "
      f"(year PDF Letter {sys.argv[1]} bytes, A4 German {sys.argv[2]} bytes):")
for name, ms in median.items():
    print(f"  {name:22} {ms:7.2f} ms")
rows = [
    ("year PDF Letter / limit", median["year PDF Letter"] / median["limit Letter"], "<= 1.5"),
    ("year PDF A4 de / limit", median["year PDF A4 de"] / median["limit A4 de"], "<= 1.5"),
    ("text month / cal", median["text month"] / median["cal month"], "<= 1.2"),
    ("Python TextCalendar / text month", median["Python TextCalendar"] / median["text month"], ">= 15"),
]
print("Ratios:")
for name, ratio, target in rows:
    print(f"  {name:34} {ratio:5.2f}x   (target {target})")
PY
