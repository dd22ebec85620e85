#!/usr/bin/env bash
# Every option against the physical limit: each job of tessaly-cli side by side with a
# program that only writes the same bytes (write_limit.c: the bytes built in, a
# temporary file, fsync, rename), in one hyperfine -N run, on a tmpfs and on a disk.
# A benchmark, not a test: it prints medians and ratios and never fails on them.
#
#   bench/compare-options.sh [TESSALY_CLI [RUNS]]
#
# TESSALY_BENCH_DISK names the folder on a disk (default /var/tmp), TESSALY_BENCH_TMPFS
# the one in memory (default /dev/shm). The caches of the embedded-font jobs (fontconfig's
# and the fonts module's remembered faces, both in XDG_CACHE_HOME) are warm (one run
# before); "cold" jobs delete them before every run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib.sh"
cli="${1:-$root/build/dev/src/cli/tessaly-cli}"
runs="${2:-40}"
tessaly_build_if_missing dev "$cli" tessaly-cli tessaly-cli-full
for tool in hyperfine gcc /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "compare-options: $tool is missing" >&2; exit 1; }
done

# name|arguments (the file is written with -o, so every job writes one file)
jobs=(
    "HTML|--month 2 --year 2026"
    "PDF Letter, shaded|--pdf --color-weekends --month 2 --year 2026"
    "PDF A4|--pdf --paper a4 --month 2 --year 2026"
    "PDF 12 months|--pdf --months 12 --month 1 --year 2027 --color-weekends"
    "PDF 24 months, weeks|--pdf --months 24 --month 1 --year 2027 --week-numbers"
    "PDF weeks|--pdf --week-numbers --month 2 --year 2026"
    "PDF A4 12 months|--pdf --paper a4 --months 12 --month 1 --year 2027 --color-weekends"
    "PDF de_DE|--pdf --locale de_DE.UTF-8 --month 3 --year 2026"
    "PDF fr_FR A4, weeks|--pdf --paper a4 --locale fr_FR.UTF-8 --week-numbers --month 3 --year 2026"
    "year PDF Letter|--layout year --year 2027 --pdf --color-weekends"
    "year PDF A4 de_DE|--layout year --year 2027 --pdf --paper a4 --locale de_DE.UTF-8 --week-numbers --color-weekends"
    "year HTML|--layout year --year 2027"
    "text month|--format text --month 2 --year 2026"
    "text year|--format text --layout year --year 2027"
    "HTML de_DE|--locale de_DE.UTF-8 --month 3 --year 2026"
    "PDF ru_RU|--pdf --locale ru_RU.UTF-8 --month 12 --year 2026"
    "PDF ja_JP|--pdf --locale ja_JP.UTF-8 --month 12 --year 2026"
    "PDF ar_EG|--pdf --locale ar_EG.UTF-8 --month 12 --year 2026"
)
cold_jobs=("PDF ru_RU" "PDF ja_JP" "PDF ar_EG")

tessaly_tempdir scratch /tmp/tessaly-compare.XXXXXX
export SOURCE_DATE_EPOCH=1767225600 XDG_CACHE_HOME="$scratch/cache"

# One limit program a job, holding that job's bytes.
for k in "${!jobs[@]}"; do
    arguments="${jobs[$k]#*|}"
    # shellcheck disable=SC2086 # the arguments are words without blanks
    "$cli" $arguments -o "$scratch/reference-$k" >/dev/null
    gcc -O2 -static -o "$scratch/limit-$k" "$root/bench/write_limit.c" \
        -DHTML_FILE="\"$scratch/reference-$k\"" -DPDF_FILE="\"$scratch/reference-$k\""
done

# hyperfine -N, its results in files only: a loaded machine's warnings of outliers are
# what the rounds are for.
quiet_hyperfine() {
    hyperfine -N --style none "$@" 2>&1 | grep -v -e 'Warning:' -e '^ *$' >&2 || true
}

# measure FOLDER: every job and its limit side by side, in rounds of five runs each, so
# that a burst of load from elsewhere falls on every command alike; then the cold jobs.
measure() {
    local folder="$1" k name arguments
    local commands=()
    mkdir -p "$folder/out"
    for k in "${!jobs[@]}"; do
        name="${jobs[$k]%%|*}"
        arguments="${jobs[$k]#*|}"
        commands+=(-n "$name" "$cli $arguments -o $folder/out/job-$k")
        commands+=(-n "$name (limit)" "$scratch/limit-$k pdf $folder/out/limit-$k")
    done
    local per_round=5
    local rounds=$(((runs + per_round - 1) / per_round))
    quiet_hyperfine --warmup 3 --runs 1 "${commands[@]}"
    for ((round = 1; round <= rounds; round++)); do
        quiet_hyperfine --warmup 1 --runs "$per_round" --export-json "$folder/times-$round.json" \
            "${commands[@]}"
    done
    for name in "${cold_jobs[@]}"; do
        for k in "${!jobs[@]}"; do
            [ "${jobs[$k]%%|*}" = "$name" ] || continue
            quiet_hyperfine --runs "$runs" --prepare "rm -rf $XDG_CACHE_HOME" \
                --export-json "$folder/cold-$k.json" \
                -n "$name, cold cache" "$cli ${jobs[$k]#*|} -o $folder/out/cold-$k"
        done
    done
    rm -rf "$folder/out"
}

report() {
    /usr/bin/python3 - "$1" "$2" <<'PY'
import glob, json, os, statistics, sys
where, folder = sys.argv[1], sys.argv[2]
times = {}
for path in sorted(glob.glob(os.path.join(folder, "*.json"))):
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])
median = {name: statistics.median(t) * 1000 for name, t in times.items()}
print(f"{where}: median of {min(len(t) for t in times.values())} runs or more, ms")
print(f"  {'job':36} {'time':>7} {'limit':>7} {'ratio':>6}")
for name, ms in median.items():
    if name.endswith("(limit)") or name.endswith("cold cache"):
        continue
    limit = median[name + " (limit)"]
    print(f"  {name:36} {ms:7.2f} {limit:7.2f} {ms / limit:5.2f}x")
    cold = median.get(name + ", cold cache")
    if cold is not None:
        print(f"  {name + ', cold cache':36} {cold:7.2f} {limit:7.2f} {cold / limit:5.2f}x")
PY
}

tmpfs="$(mktemp -d "${TESSALY_BENCH_TMPFS:-/dev/shm}/tessaly-compare.XXXXXX")"
disk="$(mktemp -d "${TESSALY_BENCH_DISK:-/var/tmp}/tessaly-compare.XXXXXX")"
tessaly_at_exit "rm -rf -- $(printf %q "$tmpfs") $(printf %q "$disk")"
measure "$tmpfs"
measure "$disk"
report "tmpfs ($tmpfs)" "$tmpfs"
report "disk ($disk)" "$disk"
