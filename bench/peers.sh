#!/usr/bin/env bash
# The editor beside general hex editors from Debian, each opening the demo image under Xvfb:
# the time from start until its window is mapped and first painted, measured from outside by
# first_paint for all of them alike, in turns, as medians. Only the hex editors installed are
# run; with none (or without Xvfb) it says so and exits 0. Not part of CI; install a peer with
# "apt-get install ghex" or "apt-get install wxhexeditor".
#
#   bench/peers.sh              RUNS=20 bench/peers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=$PWD/build-bench
bench=$build/bench
image=$build/demo/kestrune-demo.pce
runs=${RUNS:-10}

# Label, then the command that opens the image.
peers=()
command -v ghex >/dev/null && peers+=("ghex|ghex $image")
command -v wxHexEditor >/dev/null && peers+=("wxhexeditor|wxHexEditor $image")
command -v okteta >/dev/null && peers+=("okteta|okteta $image")
if [ ${#peers[@]} -eq 0 ] || ! command -v xvfb-run >/dev/null; then
    echo "peers: no general hex editor (ghex, wxhexeditor, okteta) or no xvfb-run; skipped"
    exit 0
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKST_BENCHMARKS=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target benchmarks >/dev/null
if [ ! -x "$bench/first_paint" ]; then
    echo "peers: first_paint was not built (no Xlib headers); skipped"
    exit 0
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export XDG_RUNTIME_DIR=$out/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

programs=("editor|$bench/bench_startup --stay" "${peers[@]}")
# One unmeasured start of each first, so that all start with their files in the page cache;
# then the programs in turn, so that the load of the machine falls on all of them alike.
measure_all() {
    local run program
    for ((run = 0; run <= runs; run++)); do
        for program in "${programs[@]}"; do
            # Word splitting is wanted: the paths hold no blanks.
            # shellcheck disable=SC2086
            ms=$("$bench/first_paint" ${program#*|} 2>/dev/null |
                awk '$1 == "first_paint_ms" { print $2 }') || true
            [ "$run" -gt 0 ] && [ -n "$ms" ] && echo "$ms" >>"$out/${program%%|*}"
        done
    done
}
# xvfb-run is a POSIX shell script, which passes on no bash functions or arrays: they go in
# the command itself.
xvfb-run -a -s "-screen 0 1280x1024x24 -br" \
    bash -c "$(declare -p bench out runs programs); $(declare -f measure_all); measure_all"

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
editor=$(median "$out/editor")
echo "== Start until the window is mapped and painted, demo image, Xvfb, medians of $runs runs"
printf '%-14s %10s %8s\n' program ms "/editor"
printf '%-14s %10s %8s\n' editor "$editor" 1.00
for peer in "${peers[@]}"; do
    label=${peer%%|*}
    if [ ! -s "$out/$label" ]; then
        printf '%-14s %10s %8s\n' "$label" "no window" -
        continue
    fi
    ms=$(median "$out/$label")
    printf '%-14s %10s %8s\n' "$label" "$ms" "$(awk -v a="$ms" -v b="$editor" 'BEGIN { printf "%.2f", a / b }')"
done
