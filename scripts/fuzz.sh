#!/usr/bin/env bash
# Runs one libFuzzer target for a while from its seed corpus (tests/fuzz/corpus/<target>,
# and any further SEEDS folders; all read only: new inputs go to a scratch folder, the
# first one named), with the dictionary tests/fuzz/<target>.dict where there is one. Any
# crash or oracle mismatch fails the run and leaves the input in crashes/ of the current
# folder; the target's output goes to <target>.log there. ctest --preset fuzz runs each
# target of the fuzz build so, for the time tests/fuzz/CMakeLists.txt gives it:
#
#   cmake --preset fuzz && cmake --build --preset fuzz && ctest --preset fuzz
#   scripts/fuzz.sh TARGET SECONDS [SEEDS...]     (TARGET: the built program)
#
# The random seed is fixed (TESSALY_FUZZ_SEED, default 1) so that a run can be repeated
# exactly; set another to explore further.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:?usage: fuzz.sh TARGET SECONDS [SEEDS...]}"
seconds="${2:?usage: fuzz.sh TARGET SECONDS [SEEDS...]}"
shift 2
target="$(basename "$program")"
options=()
[ ! -f "$root/tests/fuzz/$target.dict" ] || options+=("-dict=$root/tests/fuzz/$target.dict")
seed="${TESSALY_FUZZ_SEED:-1}"
. "$root/scripts/lib.sh"

crashes="$PWD/crashes"
mkdir -p "$crashes"
tessaly_tempdir scratch
echo "== $target for ${seconds}s"
if ! "$program" -max_total_time="$seconds" -timeout=10 -seed="$seed" \
    -artifact_prefix="$crashes/$target-" -print_final_stats=1 "${options[@]}" \
    "$scratch" "$root/tests/fuzz/corpus/$target" "$@" >"$target.log" 2>&1; then
    tail -n 40 "$target.log" >&2
    echo "fuzz: failed: $target (inputs in $crashes)" >&2
    exit 1
fi
grep -E '^stat::number_of_executed_units' "$target.log" || true
