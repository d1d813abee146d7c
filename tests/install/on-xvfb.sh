#!/bin/bash
# on-xvfb.sh COMMAND...: runs COMMAND on an X server of its own and ends
# the server after it. Xvfb picks a free display itself and tells which
# (-displayfd), so that the servers of tests running beside this one can
# never take the same number, as xvfb-run -a can.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 150); do
  [ -s "$dir/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
display=$(head -n 1 "$dir/display")
if [ -z "$display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$dir/log" >&2
  exit 1
fi
DISPLAY=":$display" "$@"
