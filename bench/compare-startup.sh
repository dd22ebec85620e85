#!/usr/bin/env bash
# Process start to calendar file written, side by side in one run (hyperfine -N):
# tessaly-cli against the physical limit (write_limit.c writing the same bytes, fsync,
# rename), Python's HTMLCalendar and pcal writing PostScript; and a year in one PDF
# against pcal's year made into PDF by ps2pdf. A benchmark, not a test:
# it prints medians and ratios and never fails on them.
#
#   bench/compare-startup.sh [TESSALY_CLI [RUNS]]
#
# The files go into a folder under $TESSALY_BENCH_DIR (/tmp when unset). Where other
# programs keep the disk busy, fsync dominates every figure; a tmpfs such as /dev/shm
# leaves the start and the work alone to compare.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$root/build/dev/src/cli/tessaly-cli}"
runs="${2:-40}"
if [ ! -x "$cli" ]; then
    (cd "$root" && cmake --preset dev >/dev/null && cmake --build --preset dev --target tessaly-cli)
fi
for tool in hyperfine gcc pcal ps2pdf /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "compare-startup: $tool is missing" >&2; exit 1; }
done

work="$(mktemp -d "${TESSALY_BENCH_DIR:-/tmp}/tessaly-bench.XXXXXX")"
trap 'rm -rf -- "$work"' EXIT
mkdir -p "$work/reference" "$work/out"
# One fixed creation date, so every run writes the same bytes as the limit program.
export SOURCE_DATE_EPOCH=1767225600
month=(--month 2 --year 2026)
"$cli" "${month[@]}" --output "$work/reference" >/dev/null
"$cli" "${month[@]}" --pdf --color-weekends --output "$work/reference" >/dev/null
gcc -O2 -static -o "$work/write_limit" "$root/bench/write_limit.c" \
    -DHTML_FILE="\"$work/reference/calendar.html\"" -DPDF_FILE="\"$work/reference/calendar.pdf\""

python_page="import calendar
page = calendar.HTMLCalendar().formatmonth(2026, 2)
with open('$work/out/python.html', 'w') as f:
    f.write('<html><body>' + page + '</body></html>')"

commands=(
    -n "tessaly-cli HTML" "$cli ${month[*]} --output $work/out"
    -n "limit HTML" "$work/write_limit html $work/out/limit.html"
    -n "tessaly-cli PDF" "$cli ${month[*]} --pdf --color-weekends --output $work/out"
    -n "limit PDF" "$work/write_limit pdf $work/out/limit.pdf"
    -n "Python HTMLCalendar" "/usr/bin/python3 -c \"$python_page\""
    -n "pcal PostScript" "pcal -o $work/out/pcal.ps 2 2026"
    -n "tessaly-cli year PDF"
    "$cli --pdf --months 12 --month 1 --year 2026 --color-weekends --output $work/out"
    -n "pcal year | ps2pdf" "sh -c 'pcal 1 2026 12 | ps2pdf - $work/out/pcal.pdf'"
)
# Another build of tessaly-cli to set against this one, in the same rounds.
if [ -n "${TESSALY_CLI_BEFORE:-}" ]; then
    commands+=(
        -n "before HTML" "$TESSALY_CLI_BEFORE ${month[*]} --output $work/out"
        -n "before PDF" "$TESSALY_CLI_BEFORE ${month[*]} --pdf --color-weekends --output $work/out"
    )
fi

# In rounds of five runs of each command, so that a burst of load from elsewhere falls
# on every command alike rather than on whichever ran at the time.
per_round=5
rounds=$(((runs + per_round - 1) / per_round))
hyperfine -N --warmup 10 --runs 1 "${commands[@]}" >/dev/null
for ((round = 1; round <= rounds; round++)); do
    hyperfine -N --warmup 1 --runs "$per_round" --export-json "$work/times-$round.json" \
        "${commands[@]}" >/dev/null
done

/usr/bin/python3 - "$(stat -c %s "$work/reference/calendar.html")" \
    "$(stat -c %s "$work/reference/calendar.pdf")" "$work"/times-*.json <<'PY'
import json, sys
import statistics
times = {}
for path in sys.argv[3:]:
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])
median = {name: statistics.median(t) * 1000 for name, t in times.items()}
print(f"Median of {len(next(iter(times.values())))} runs each, process start to file written "
      f"(HTML {sys.argv[1]} bytes, shaded PDF {sys.argv[2]} bytes):")
for name, ms in median.items():
    print(f"  {name:22} {ms:7.2f} ms")
rows = [
    ("PDF / limit writing the same bytes", median["tessaly-cli PDF"] / median["limit PDF"], "<= 1.5"),
    ("HTML / limit writing the same bytes", median["tessaly-cli HTML"] / median["limit HTML"], "<= 1.5"),
    ("Python HTMLCalendar / HTML", median["Python HTMLCalendar"] / median["tessaly-cli HTML"], ">= 15"),
    ("pcal PostScript / PDF", median["pcal PostScript"] / median["tessaly-cli PDF"], "> 1"),
    ("pcal | ps2pdf year / year PDF", median["pcal year | ps2pdf"] / median["tessaly-cli year PDF"], ">= 15"),
]
if "before PDF" in median:
    rows += [
        ("before PDF / limit", median["before PDF"] / median["limit PDF"], "-"),
        ("before HTML / limit", median["before HTML"] / median["limit HTML"], "-"),
        ("before / this PDF", median["before PDF"] / median["tessaly-cli PDF"], "-"),
        ("before / this HTML", median["before HTML"] / median["tessaly-cli HTML"], "-"),
    ]
print("Ratios:")
for name, ratio, target in rows:
    print(f"  {name:38} {ratio:5.2f}x   (target {target})")
PY
