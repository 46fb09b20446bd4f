#!/usr/bin/env bash
# Runs a test program as a native Wayland client of a headless Weston that this script starts
# and stops, with a runtime folder of its own:  wayland_test.sh PROGRAM
set -euo pipefail
program=$1
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
# --debug exposes the screenshooter protocol; the pixman renderer gives it pixels to read.
weston --backend=headless-backend.so --socket=lumora-test --width=1024 --height=768 \
    --idle-time=0 --debug --use-pixman >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill $weston_pid 2>/dev/null; wait $weston_pid 2>/dev/null; rm -rf "$runtime"' EXIT

deadline=$((SECONDS + 20))
until [ -S "$runtime/lumora-test" ]; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 $weston_pid 2>/dev/null; then
        echo "wayland_test: Weston did not start:" >&2
        cat "$runtime/weston.log" >&2
        exit 1
    fi
    sleep 0.1
done
WAYLAND_DISPLAY=lumora-test QT_QPA_PLATFORM=wayland "$program"
