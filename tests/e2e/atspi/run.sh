#!/usr/bin/env bash
# The program as an assistive technology sees it: on a virtual X display with its own D-Bus
# session (which starts the accessibility bus on demand), Clipwright runs with accessibility on
# against tarn-sim on the demo bench with the demo list, and reader.py reads its accessibility
# tree and presses Play through it; the simulator's transcript says whether the player played.
#   run.sh CLIPWRIGHT TARN_SIM CLIPWRIGHT_CLI SOURCE_DIR
# Exit 77 (skipped) when the display, D-Bus or the Python bindings are not installed.
set -euo pipefail
program=$1 sim=$2 cli=$3 source=$4
# Debian's own Python: the bindings are installed for it, not for any other Python on the path.
python=/usr/bin/python3
for tool in Xvfb dbus-run-session "$python" setsid; do
  command -v "$tool" >/dev/null || { echo "atspi: $tool is not installed: skipped"; exit 77; }
done
"$python" -c 'import pyatspi' 2>/dev/null || { echo "atspi: python3-pyatspi is not installed: skipped"; exit 77; }

work=$(mktemp -d)
xvfb_pid="" sim_pid="" session_pid=""
cleanup() {
  # Each was started here as the leader of its own process group: the session's group holds the
  # D-Bus daemon, the accessibility bus it started and the program.
  for pid in "$session_pid" "$sim_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill -TERM -- "-$pid" 2>/dev/null || true
  done
  for pid in "$session_pid" "$sim_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && { timeout 10 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -KILL -- "-$pid" 2>/dev/null || true; }
  done
  rm -rf "$work"
}
trap cleanup EXIT

setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "atspi: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

setsid "$sim" --bench "$source/sim/benches/demo.json" --transcript "$work/transcript" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do grep -q '^pty=' "$work/sim.out" 2>/dev/null && break; sleep 0.1; done
pty=$(sed -n 's/^pty=//p' "$work/sim.out")
[ -n "$pty" ] || { echo "atspi: tarn-sim gave no terminal"; cat "$work/sim.out"; exit 1; }

# The demo's program folder: port 1 on the simulator, the camcorder as player, the VCR as
# recorder, the controller opened with the main window.
source "$source/scripts/demo-folder.sh"
prepare_demo_folder "$work/home" "$work/config" "$pty"

export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
setsid dbus-run-session -- "$python" "$source/tests/e2e/atspi/reader.py" \
    --program "$program" --cli "$cli" --home "$work/home" \
    --list "$source/resources/demo/demo.cwf" --transcript "$work/transcript" &
session_pid=$!
status=0
wait "$session_pid" || status=$?

exit "$status"
