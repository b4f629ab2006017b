#!/usr/bin/env bash
# Pictures the desktop program's main window after a run: analyses an example in a scratch
# copy, opens it in kolmar2017 under a virtual X server and saves the window as a PNG.
#
#   scripts/screenshot.sh [BUILD_DIR] [EXAMPLE] [OUTPUT] [SHOW]
#
# Defaults: build, examples/sand-water-table.kx8d, docs/main-window.png. SHOW "report" pictures
# the report in the program's text viewer; SHOW "run" runs the project in the program and
# pictures the message that tells the outcome, e.g. for docs/run-outcome.png:
#
#   scripts/screenshot.sh build tests/gui/data/short-profile.kx8d docs/run-outcome.png run
#
# SHOW "overview" pictures the window with its Project Overview after the run, "overview-new"
# the same before any run (docs/overview-after-run.png, docs/overview-before-run.png).
#
# Needs xvfb-run
# (Debian package xvfb) and a built tree (kolmar, kolmar2017 and the engine in BUILD_DIR/bin).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
example=${2:-examples/sand-water-table.kx8d}
output=$(realpath -m "${3:-docs/main-window.png}")
show=${4:-main}

for program in kolmar kolmar2017; do
    if [ ! -x "$build/bin/$program" ]; then
        echo "screenshot: $build/bin/$program is missing; build first (make build)" >&2
        exit 1
    fi
done
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "screenshot: xvfb-run is missing (Debian package xvfb)" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$example" "$work/"
project="$work/$(basename "$example")"

# The run leaves the report and the plot file beside the project; a run that ends with a
# warning status still leaves them, so its status does not stop the picture.
if [ "$show" != overview-new ]; then
    "$build/bin/kolmar" run "$project" >"$work/run.log" 2>&1 || true
fi
[ "$show" = overview-new ] && show=overview

# Settings of a scratch user, so that the picture neither shows nor changes the real ones.
mkdir -p "$work/config" "$(dirname "$output")"
XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/bin/kolmar2017" --screenshot "$output" --show "$show" "$project"
echo "screenshot: saved $output"
