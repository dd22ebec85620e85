#!/usr/bin/env bash
# Kills tessaly-cli --pdf with SIGKILL at random moments of its run, over and over, and
# checks what each kill leaves: calendar.pdf is whole (the earlier calendar or the new
# one, byte for byte, and qpdf --check passes); a temporary file left behind carries the
# killed run's process id, so that the next run that gets as far as saving removes it,
# and after a run that ends by itself the folder holds the calendar alone. The runs
# alternate between two months, so the earlier and the new file differ.
#
#   ctest --preset slow                           (the test crash_loop: 50 kills)
#   scripts/crash-loop.sh [KILLS] [tessaly-cli]   (default: 50, build/dev's, built if missing)
#
# Where the file system makes files without a name (O_TMPFILE), only a kill in the
# instant between naming the whole file and renaming it can leave one; elsewhere any
# kill during the write can. The figures say how many did.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
kills="${1:-50}"
[ -n "${2:-}" ] || tessaly_build_if_missing dev build/dev/src/cli/tessaly-cli tessaly-cli
cli="$(realpath "${2:-build/dev/src/cli/tessaly-cli}")"

# On a disk rather than in memory: there flushing takes time, and kills land in it.
parent="${TMPDIR:-/tmp}"
tessaly_tempdir work "$parent/tessaly-crash-loop.XXXXXX"
mkdir "$work/out" "$work/expected"
# Waits of a fraction of a millisecond need a wait without starting a process: a read
# with a timeout from a pipe that never delivers.
mkfifo "$work/never"
exec 3<>"$work/never"
export SOURCE_DATE_EPOCH=1700000000

run() { # run MONTH FOLDER: one calendar of MONTH into FOLDER, started as a round starts it
    "$cli" --pdf --month "$1" --year 2031 --output "$2" >/dev/null &
    wait $!
}

# The two calendars as whole runs make them, and how long a run takes from its start in
# the background to its end.
start="${EPOCHREALTIME/./}"
run 1 "$work/expected" && mv "$work/expected/calendar.pdf" "$work/expected/1.pdf"
run 2 "$work/expected" && mv "$work/expected/calendar.pdf" "$work/expected/2.pdf"
run 2 "$work/expected"
span=$(((${EPOCHREALTIME/./} - start) / 3))

# Can this folder hold a file without a name?
unnamed=no
if perl -e 'use Fcntl; sysopen(my $f, $ARGV[0], 020200000 | O_WRONLY, 0600) or exit 1' \
    "$work/out" 2>/dev/null; then
    unnamed=yes
fi

failures=0
fault() {
    echo "crash-loop: $1" >&2
    failures=$((failures + 1))
}
killed=0 finished=0 leftovers=0 checked=0
: >"$work/before"
for round in $(seq "$kills"); do
    month=$((round % 2 + 1))
    # Anywhere in the run, from its start to its usual end.
    delay=$((RANDOM * RANDOM % (span + 1)))
    "$cli" --pdf --month "$month" --year 2031 --output "$work/out" >/dev/null &
    pid=$!
    printf -v pause '0.%06d' "$delay"
    read -r -t "$pause" -u 3 || true
    kill -9 "$pid" 2>/dev/null || true
    status=0
    wait "$pid" 2>/dev/null || status=$?
    if [ "$status" -eq 137 ]; then
        killed=$((killed + 1))
    else
        finished=$((finished + 1))
    fi

    # Temporary files that were not there before this round.
    find "$work/out" -mindepth 1 ! -name calendar.pdf -printf '%f\n' | sort >"$work/now"
    leftovers=$((leftovers + $(comm -13 "$work/before" "$work/now" | wc -l)))
    mv "$work/now" "$work/before"
    if [ "$status" -ne 137 ] && [ -s "$work/before" ]; then
        fault "round $round: after a whole run the folder holds $(tr '\n' ' ' <"$work/before")"
    fi
    if grep -qvE '^\.calendar\.pdf\.[0-9]+\.[a-z0-9]{8}\.tmp$' "$work/before"; then
        fault "round $round: a kill left $(tr '\n' ' ' <"$work/before")"
    fi
    if [ -e "$work/out/calendar.pdf" ]; then
        checked=$((checked + 1))
        if ! cmp -s "$work/out/calendar.pdf" "$work/expected/1.pdf" &&
            ! cmp -s "$work/out/calendar.pdf" "$work/expected/2.pdf"; then
            fault "round $round: calendar.pdf is neither calendar whole"
        fi
        if ! qpdf --check "$work/out/calendar.pdf" >/dev/null 2>&1; then
            fault "round $round: calendar.pdf fails qpdf --check"
        fi
    fi
done

# A whole run afterwards removes what any kill may have left.
run 1 "$work/out"
if [ "$(ls -A "$work/out")" != calendar.pdf ]; then
    fault "after a whole run the folder holds: $(ls -A "$work/out" | tr '\n' ' ')"
fi

echo "crash-loop: $kills kills ($killed during a run, $finished after it ended; a run takes" \
    "about $((span / 1000)) ms); temporary files left: $leftovers; $checked surviving" \
    "calendars whole and passing qpdf; files without names in $parent: $unnamed"
[ "$failures" -eq 0 ]
