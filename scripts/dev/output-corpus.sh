#!/usr/bin/env bash
# Makes a corpus of calendars with one build of tessaly-cli, so that two builds can be
# compared file for file (cmp) before and after a change that must not alter any byte:
#
#   scripts/dev/output-corpus.sh OUT [TESSALY_CLI [TESSALY_CLI_EXE]]
#   cmp -r or diff -r OUT-before OUT-after
#
# OUT gets one file per run (the calendar, or nothing) and OUT/runs.txt: for each run
# its arguments, its exit status, what it printed on standard error and the name of the
# file it wrote. With TESSALY_CLI_EXE, 52 more runs of the Windows program under Wine.
# Without TESSALY_CLI, build/dev's, built when missing.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:?usage: output-corpus.sh OUT [TESSALY_CLI [TESSALY_CLI_EXE]]}"
cli="${2:-$root/build/dev/src/cli/tessaly-cli}"
exe="${3:-}"
fixtures="$root/tests/fixtures/ics"
. "$root/scripts/lib.sh"
[ -n "${2:-}" ] || (cd "$root" && tessaly_build_if_missing dev "$cli" tessaly-cli) || exit 1

mkdir -p "$out"
out="$(cd "$out" && pwd)"
: >"$out/runs.txt"
export SOURCE_DATE_EPOCH=1767225600 TZ=America/New_York LC_ALL=C.UTF-8
unset LANG LC_TIME
count=0

# run NAME PROGRAM ARGS...: one calendar into OUT/NAME, its outcome into runs.txt.
run() {
    local name="$1" program="$2"
    shift 2
    local status
    rm -f "$out/$name"
    "$program" "$@" -o "$out/$name" >"$out/.stdout" 2>"$out/.stderr"
    status=$?
    # The written path is the one thing that differs between two corpora's folders.
    {
        printf '%s: %s\n  exit %s\n' "$name" "$*" "$status"
        sed -e "s|$out/||g" -e 's/^/  stderr: /' "$out/.stderr"
        [ -e "$out/$name" ] || echo "  (no file)"
    } >>"$out/runs.txt"
    count=$((count + 1))
}

locales=(none fr_FR.UTF-8 de_DE.UTF-8 ru_RU.UTF-8 ar_EG.UTF-8 ja_JP.UTF-8)
locale_args() { [ "$1" = none ] || echo "--locale $1"; }

# Both formats, both week starts, weekend colours on and off, in each language.
for locale in "${locales[@]}"; do
    for format in html pdf; do
        for start in monday sunday; do
            for colour in plain shaded; do
                args=(--month 12 --year 2026 --week-start "$start")
                [ "$format" = pdf ] && args+=(--pdf)
                [ "$colour" = shaded ] && args+=(--color-weekends)
                # shellcheck disable=SC2046
                run "$locale-$format-$start-$colour.$format" "$cli" "${args[@]}" \
                    $(locale_args "$locale")
            done
        done
    done
done

# A4, ranges of months and week numbers, in each language.
for locale in "${locales[@]}"; do
    la=$(locale_args "$locale")
    # shellcheck disable=SC2086
    {
        run "$locale-a4.pdf" "$cli" --pdf --paper a4 --month 2 --year 2027 $la
        run "$locale-a4-monday-shaded-weeks.pdf" "$cli" --pdf --paper a4 --week-start monday \
            --color-weekends --week-numbers --month 3 --year 2027 $la
        run "$locale-letter-weeks.pdf" "$cli" --pdf --week-numbers --month 1 --year 2027 $la
        run "$locale-weeks.html" "$cli" --week-numbers --week-start monday --month 1 --year 2021 $la
        for months in 1 3 24; do
            run "$locale-months-$months.pdf" "$cli" --pdf --months "$months" --month 11 \
                --year 2026 --color-weekends $la
            run "$locale-months-$months.html" "$cli" --months "$months" --month 11 --year 2026 \
                --color $((months * 111111 % 1000000)) $la
        done
    }
done

# Events from the test fixtures, in English and two other languages.
for fixture in "$fixtures"/*.ics; do
    base="$(basename "$fixture" .ics)"
    for locale in none de_DE.UTF-8 ja_JP.UTF-8; do
        la=$(locale_args "$locale")
        # shellcheck disable=SC2086
        {
            run "events-$base-$locale.html" "$cli" --events "$fixture" --month 12 --year 2026 $la
            run "events-$base-$locale.pdf" "$cli" --events "$fixture" --pdf --month 12 \
                --year 2026 --week-numbers $la
            run "events-$base-$locale-3.pdf" "$cli" --events "$fixture" --pdf --months 3 \
                --month 11 --year 2026 --paper a4 --color-weekends $la
        }
    done
done
run "events-all.html" "$cli" --month 12 --year 2026 --events "$fixtures/weekly-meeting.ics" \
    --events "$fixtures/time-zones.ics" --events "$fixtures/busy-day.ics"

# Every month of twelve years from 1900 to 2100, each year in another layout.
years=(1900 1904 1999 2000 2024 2026 2027 2038 2064 2088 2099 2100)
for k in "${!years[@]}"; do
    year="${years[$k]}"
    for month in 1 2 3 4 5 6 7 8 9 10 11 12; do
        case $((k % 4)) in
        0) run "y$year-$month.html" "$cli" --month "$month" --year "$year" ;;
        1) run "y$year-$month.pdf" "$cli" --pdf --week-start monday --month "$month" --year "$year" ;;
        2) run "y$year-$month.html" "$cli" --color-weekends --week-start monday \
            --month "$month" --year "$year" ;;
        3) run "y$year-$month.pdf" "$cli" --pdf --color-weekends --month "$month" --year "$year" ;;
        esac
    done
done

# Year pages, text and days of the year, in each language.
for locale in "${locales[@]}"; do
    la=$(locale_args "$locale")
    # shellcheck disable=SC2086
    {
        run "$locale-year.pdf" "$cli" --layout year --year 2027 --pdf --color-weekends \
            --week-numbers $la
        run "$locale-year-monday.html" "$cli" --layout year --month 9 --year 2026 \
            --week-start monday --color-weekends --week-numbers $la
        run "$locale-text.txt" "$cli" --format text --month 12 --year 2026 --week-numbers $la
        run "$locale-text-year.txt" "$cli" --format text --layout year --year 2027 \
            --week-start monday $la
        run "$locale-day-of-year.pdf" "$cli" --pdf --day-of-year --month 5 --year 2027 \
            --week-numbers $la
    }
done

# Weeks from any day, weekends named, and the locale's own layout.
for start in monday tuesday wednesday thursday friday saturday sunday; do
    run "start-$start.html" "$cli" --month 12 --year 2026 --week-start "$start" \
        --color-weekends --week-numbers
    run "start-$start.txt" "$cli" --format text --month 12 --year 2026 --week-start "$start" \
        --week-numbers
done
run "weekend-friday-saturday.pdf" "$cli" --pdf --month 12 --year 2026 --color-weekends \
    --weekend friday,saturday --week-start saturday
for locale in he_IL.UTF-8 ar_EG.UTF-8 fa_IR.UTF-8 ja_JP.UTF-8 de_DE.UTF-8 en_US.UTF-8; do
    for format in html pdf text; do
        run "regional-$locale.$format" "$cli" --format "$format" --month 12 --year 2026 \
            --color-weekends --regional --locale "$locale"
    done
    run "regional-$locale-year.pdf" "$cli" --layout year --pdf --year 2027 --color-weekends \
        --week-numbers --regional --locale "$locale"
done

# Mistakes: the message and the exit status, and no file.
run "error-month.html" "$cli" --month 13
run "error-year.html" "$cli" --year 1899
run "error-week-start.html" "$cli" --week-start friday
run "error-week-start-name.html" "$cli" --week-start fri
run "error-weekend.html" "$cli" --weekend friday,friday
run "error-regional.html" "$cli" --regional
run "error-paper.html" "$cli" --paper a4
run "error-paper-name.pdf" "$cli" --pdf --paper a5
run "error-months.pdf" "$cli" --pdf --months 25
run "error-past-2100.pdf" "$cli" --pdf --months 3 --month 12 --year 2100
run "error-color.html" "$cli" --color 12345
run "error-locale.html" "$cli" --locale xx_XX.UTF-8
run "error-unknown.html" "$cli" --frobnicate
run "error-events-missing.html" "$cli" --events "$out/no-such-file.ics"
run "error-events-malformed.pdf" "$cli" --pdf --events "$fixtures/malformed.ics"
run "error-folder.html" "$cli" --output "$out/no-such-folder"

# The Windows program under Wine: 52 files.
if [ -n "$exe" ]; then
    # shellcheck source=../wine-env.sh
    . "$root/scripts/wine-env.sh"
    export LC_ALL=fr_FR.UTF-8
    tessaly_wine_start
    wine_cli() { timeout -k 5 60 wine "$exe" "$@"; }
    n=0
    for locale in none fr-FR de-DE ru-RU ar-EG; do
        la=""
        [ "$locale" = none ] || la="--locale $locale"
        # shellcheck disable=SC2086
        {
            run "win-$locale.html" wine_cli --month 12 --year 2026 $la
            run "win-$locale-shaded.html" wine_cli --month 12 --year 2026 --week-start monday \
                --color-weekends $la
            run "win-$locale.pdf" wine_cli --pdf --month 12 --year 2026 $la
            run "win-$locale-shaded.pdf" wine_cli --pdf --color-weekends --week-start monday \
                --month 2 --year 2027 $la
            run "win-$locale-a4.pdf" wine_cli --pdf --paper a4 --month 9 --year 2027 $la
            run "win-$locale-weeks.pdf" wine_cli --pdf --week-numbers --month 1 --year 2027 $la
            run "win-$locale-months.pdf" wine_cli --pdf --months 3 --month 11 --year 2026 $la
            run "win-$locale-months.html" wine_cli --months 3 --week-numbers --month 11 \
                --year 2026 $la
        }
        n=$((n + 8))
    done
    for locale in he-IL ar-EG fa-IR ja-JP de-DE en-US; do
        run "win-regional-$locale.pdf" wine_cli --pdf --color-weekends --month 12 --year 2026 \
            --regional --locale "$locale"
        run "win-regional-$locale.html" wine_cli --color-weekends --month 12 --year 2026 \
            --regional --locale "$locale"
    done
    tessaly_wine_stop
fi

rm -f "$out/.stdout" "$out/.stderr"
echo "output-corpus: $count runs, $(find "$out" -type f ! -name runs.txt | wc -l) files in $out"
