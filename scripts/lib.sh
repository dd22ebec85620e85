# shellcheck shell=bash
# Sourced (bash) by the scripts, for what several of them do:
#
#   . scripts/lib.sh       (from the repository's root)

tessaly_jobs="$(nproc)"

# tessaly_build PRESET [TARGET...]: configures the preset's build and builds it (only
# TARGETs, when given).
tessaly_build() {
    local preset="$1"
    shift
    local targets=()
    [ "$#" -eq 0 ] || targets=(--target "$@")
    cmake --preset "$preset" && cmake --build --preset "$preset" --parallel "$tessaly_jobs" \
        "${targets[@]}"
}

# tessaly_build_if_missing PRESET FILE [TARGET...]: tessaly_build when FILE, a program
# of that build, is not there.
tessaly_build_if_missing() {
    [ -e "$2" ] || tessaly_build "$1" "${@:3}"
}

# tessaly_sudo COMMAND...: COMMAND as root: as it is when root already, else through sudo.
tessaly_sudo() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# tessaly_at_exit COMMAND: runs COMMAND (shell text, evaluated then) when the script
# ends, before those registered earlier. Ctrl-C and TERM end the script so that they run.
tessaly_exit_commands=()
tessaly_at_exit() {
    tessaly_exit_commands=("$1" "${tessaly_exit_commands[@]}")
    trap tessaly_run_exit_commands EXIT
    trap 'exit 130' INT TERM
}
tessaly_run_exit_commands() {
    local command
    for command in "${tessaly_exit_commands[@]}"; do
        eval "$command" || true
    done
}

# tessaly_tempdir VARIABLE [TEMPLATE]: a new folder (mktemp -d [TEMPLATE]) in VARIABLE,
# removed with all it holds when the script ends.
tessaly_tempdir() {
    local made
    made="$(mktemp -d ${2:+"$2"})" || return 1
    printf -v "$1" %s "$made"
    tessaly_at_exit "rm -rf -- $(printf %q "$made")"
}

# tessaly_xvfb_start FOLDER SIZE: a virtual display of its own (Xvfb picks a free number)
# in DISPLAY, stopped when the script ends; FOLDER keeps its log. Fails, saying why, when
# it does not start.
tessaly_xvfb_start() {
    Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
    tessaly_xvfb_pid=$!
    tessaly_at_exit 'kill "$tessaly_xvfb_pid" 2>/dev/null; wait "$tessaly_xvfb_pid" 2>/dev/null'
    local _
    for _ in $(seq 100); do
        [ -s "$1/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$1/display" ]; then
        echo "Xvfb did not start: $(cat "$1/xvfb.log")" >&2
        return 1
    fi
    export DISPLAY=":$(cat "$1/display")"
}

# Checks that count: pass and fail print and count one each; finish prints
# "N passed, N failed" and exits non-zero when any failed.
passed=0
failed=0
pass() {
    echo "PASS: $1"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL: $1" >&2
    failed=$((failed + 1))
}
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit $?
}
