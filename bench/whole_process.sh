#!/usr/bin/env bash
# Whole-process timings of the runner, as an engineer meets them: `kolmar run` on the largest
# run the program allows, on a single long shaft and on the 60 ft example, and `kolmar check`.
# Each is run RUNS times in a scratch folder; the medians of CPU time (user + system, from the
# kernel's resource usage of the child, microsecond resolution) and wall time are printed, with
# the peak memory of one run from /usr/bin/time -v.
#
#   bench/whole_process.sh [KOLMAR_BINARY] [RUNS]
#
# KOLMAR_BINARY defaults to build/bin/kolmar; the engine library is loaded from its folder, so
# an older build can be timed beside a newer one in the same sitting.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
kolmar="$(realpath "${1:-$here/../build/bin/kolmar}")"
runs="${2:-7}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp "$here/data/largest.kx8d" "$here/data/long-single.kx8d" \
   "$here/../examples/sand-water-table.kx8d" "$scratch/"

printf '%-28s %12s %12s %12s\n' "case" "CPU ms" "wall ms" "peak MB"
measure() { # name, then the runner's arguments
    local name="$1"; shift
    local times peak
    times="$(cd "$scratch" && /usr/bin/python3 - "$runs" "$kolmar" "$@" <<'PY'
import os, statistics, subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
cpu, wall = [], []
for _ in range(runs):
    start = time.perf_counter()
    pid = os.posix_spawn(cmd[0], cmd, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
                                       (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    wall.append((time.perf_counter() - start) * 1000)
    cpu.append((usage.ru_utime + usage.ru_stime) * 1000)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("the run failed: " + " ".join(cmd))
print(f"{statistics.median(cpu):.2f} {statistics.median(wall):.2f}")
PY
)"
    if [ -x /usr/bin/time ]; then
        peak="$(cd "$scratch" && /usr/bin/time -v "$kolmar" "$@" 2>&1 >/dev/null |
                awk -F: '/Maximum resident set size/ {printf "%.1f", $2 / 1024}')"
    else
        peak="n/a"
    fi
    printf '%-28s %12s %12s %12s\n' "$name" ${times} "$peak"
}
measure "largest run" run largest.kx8d
measure "201 ft single case" run long-single.kx8d
measure "60 ft example" run sand-water-table.kx8d
measure "check (60 ft example)" check sand-water-table.kx8d
