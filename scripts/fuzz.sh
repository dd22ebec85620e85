#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while from its seed corpus
# (tests/fuzz/corpus/<target>, read only: new inputs go to a scratch folder). Any crash
# or oracle mismatch fails the run and leaves the input in build/fuzz/crashes/.
#
#   scripts/fuzz.sh [SECONDS_EACH] [TARGET=SECONDS ...]
#
# TARGET=SECONDS gives one target a time of its own (0: not run).
#
# The random seed is fixed (TESSALY_FUZZ_SEED, default 1) so that a run can be repeated
# exactly; set another to explore further.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
declare -A own_seconds=()
for given in "$@"; do
    own_seconds["${given%%=*}"]="${given#*=}"
done
seed="${TESSALY_FUZZ_SEED:-1}"
targets=()
for source in tests/fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
done

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel "$(nproc)" --target "${targets[@]}"

crashes="$PWD/build/fuzz/crashes"
mkdir -p "$crashes"
failed=()
for target in "${targets[@]}"; do
    time_given="${own_seconds[$target]:-$seconds}"
    if [ "$time_given" = 0 ]; then
        continue
    fi
    scratch="$(mktemp -d)"
    echo "== $target for ${time_given}s"
    if ! build/fuzz/tests/fuzz/"$target" -max_total_time="$time_given" -timeout=10 -seed="$seed" \
        -artifact_prefix="$crashes/$target-" -print_final_stats=1 \
        "$scratch" "tests/fuzz/corpus/$target" >"build/fuzz/$target.log" 2>&1; then
        tail -n 40 "build/fuzz/$target.log" >&2
        failed+=("$target")
    else
        grep -E '^stat::number_of_executed_units' "build/fuzz/$target.log" || true
    fi
    rm -rf -- "$scratch"
done
if [ "${#failed[@]}" -gt 0 ]; then
    echo "fuzz: failed: ${failed[*]} (inputs in $crashes)" >&2
    exit 1
fi
