# Sourced (bash) by the test scripts that count their checks: pass and fail print and
# count one check each; finish prints "N passed, N failed" and exits non-zero when any
# failed.
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
