#!/bin/bash
# Resident memory of the program over a long history (make_store.py): after a start in the
# background, after the board is shown, and after it is scrolled end to end.
#
# Usage: bench/board_memory.sh [PROGRAM] [DISPLAY NUMBER]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../build/release/src/shell/quillstash}
display=:${2:-91}

scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

export XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_DATA_HOME/Quillstash" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_DATA_HOME/Quillstash" "$XDG_RUNTIME_DIR"
python3 "$here/make_store.py" "$XDG_DATA_HOME/Quillstash/clippings_store_v1.json"

Xvfb "$display" -screen 0 1440x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

"$program" --background >"$scratch/program.log" 2>&1 &
program_pid=$!
pids=("$program_pid" "${pids[@]}")

resident() {
    printf '%-22s %s\n' "$1" "$(awk '/^VmRSS/ { printf "%.1f MB", $2 / 1024 }' \
        "/proc/$program_pid/status")"
}

sleep 5
resident "after start"
xdotool key ctrl+alt+v
sleep 3
resident "after showing"
xdotool key --delay 2 --repeat 3400 Down
sleep 3
resident "after scrolling"
