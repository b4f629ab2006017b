#!/usr/bin/env bash
# Checks that two builds of the runner write the same results, byte for byte but for the date
# line: `kolmar run` of each on the benchmark projects, a mid-sized variant of the largest run and
# every example, each in turn in one scratch folder, then every file the runs leave compared
# (the console text too).
# Speed work that must change no digit is checked with it against a build from before the work.
#
#   bench/same_outputs.sh REFERENCE_KOLMAR [KOLMAR]
#
# KOLMAR defaults to build/bin/kolmar. Prints one line per project and exits 1 on a difference.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
reference="$(realpath "$1")"
kolmar="$(realpath "${2:-$here/../build/bin/kolmar}")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$scratch/projects"
cp "$here/data/"*.kx8d "$here/../examples/"*.kx8d "$scratch/projects/"
# The largest run's lengths from 130 ft down to 110 ft: many cases at a tenth of the time.
sed 's/^30 1 0.5 10/110 1 0.5 10/' "$here/data/largest.kx8d" >"$scratch/projects/mid.kx8d"

# The report's date line, and the results file's date and time of the run.
mask() { sed -e 's/^               Date:  .*/<date and time>/' -e 's/^  "\(date\|time\)": ".*",$/<\1>/' "$1"; }

status=0
for project in "$scratch/projects/"*.kx8d; do
    name="$(basename "$project" .kx8d)"
    # Both run in the same folder, which the report names.
    for side in reference candidate; do
        binary="$reference"
        [ "$side" = candidate ] && binary="$kolmar"
        rm -rf "$scratch/run" && mkdir -p "$scratch/run" && cp "$project" "$scratch/run/"
        (cd "$scratch/run" && "$binary" run "$name.kx8d" >console.txt 2>&1) || true
        mkdir -p "$scratch/$side" && mv "$scratch/run" "$scratch/$side/$name"
    done
    differ=()
    for file in "$scratch/reference/$name/"*; do
        base="$(basename "$file")"
        other="$scratch/candidate/$name/$base"
        if [ ! -f "$other" ] || ! cmp -s <(mask "$file") <(mask "$other"); then
            differ+=("$base")
        fi
    done
    for file in "$scratch/candidate/$name/"*; do
        [ -f "$scratch/reference/$name/$(basename "$file")" ] || differ+=("$(basename "$file")")
    done
    if [ "${#differ[@]}" -eq 0 ]; then
        printf '%-24s same (%s files)\n' "$name" "$(ls "$scratch/reference/$name" | wc -l)"
    else
        printf '%-24s DIFFERENT: %s\n' "$name" "${differ[*]}"
        status=1
    fi
done
exit $status
