# Shared by the shell tests: `check DESCRIPTION COMMAND...` runs the command, prints "ok" or
# "FAILED" with what it said, and counts failures; `finish NAME` ends the test by the count.
# Needs $work, a scratch folder.
failures=0
check() {
    local what=$1
    shift
    if "$@" >"$work/out" 2>&1; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    fi
}
finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$1: $failures checks failed"
        exit 1
    fi
    echo "$1: all checks passed"
}
