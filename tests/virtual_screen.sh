#!/usr/bin/env bash
# Runs a command on a virtual screen of its own:  virtual_screen.sh COMMAND...
# The X server picks a free display itself (-displayfd), so tests running side by side never
# race for the same number, as xvfb-run's search for a free one can.
set -uo pipefail
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -f "$display_file"' EXIT
deadline=$((SECONDS + 20))
until [ -s "$display_file" ]; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 $server 2>/dev/null; then
        echo "virtual_screen: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.05
done
export DISPLAY=:$(head -n 1 "$display_file")
"$@"
