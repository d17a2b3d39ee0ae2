#!/usr/bin/env bash
# Measures (judges nothing) the resident memory of quillon-scan --follow on a folder whose bar files
# come and go: CYCLES times, FILES files under new names are added, their rows awaited, and all
# removed. Prints the memory after the 5th cycle and after the last.
#
#   bench/tools/follow_scan_memory.sh [BUILD_DIR [CYCLES [FILES]]]     build, 30 and 100 unless given
set -euo pipefail
build=${1:-build}
cycles=${2:-30}
files=${3:-100}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
"$build/tools/quillon-make-bars" --bars 600 >"$work/bars"
mkdir "$work/folder"
"$build/tools/quillon-scan" --follow "$work/folder" >"$work/rows" &
pid=$!
sleep 1
resident() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
rows() { wc -l <"$work/rows"; }
# Waits up to 20 s for the rows to reach a count.
await() { for _ in $(seq 200); do [ "$(rows)" -ge "$1" ] && return; sleep 0.1; done; }
expected=$(rows)
for cycle in $(seq "$cycles"); do
    for file in $(seq "$files"); do
        cp "$work/bars" "$work/folder/C${cycle}F${file}.csv"
    done
    expected=$((expected + files))
    await "$expected"
    rm "$work/folder/"*.csv
    expected=$((expected + files))
    await "$expected"
    [ "$cycle" -eq 5 ] && fifth=$(resident)
done
last=$(resident)
echo "resident memory after cycle 5: ${fifth} kB; after cycle ${cycles}: ${last} kB;" \
     "growth $((last - fifth)) kB over $((cycles - 5)) cycles of ${files} files"
