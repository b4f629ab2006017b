"""What `kolmar run` and `kolmar check` load before their first line of work: the runner needs the
C++ runtime and the C library and nothing else (the workbook writer, zlib and what they load are
the export companion's, kolmar-export); the engine, loaded at run time, needs the C++ runtime
alone. Every library the dynamic loader maps costs start-up time in each of the many short runs
of a parametric study, so a new dependency must be a decision, not an accident.

    runner_libraries.py KOLMAR ENGINE
"""
import os
import re
import subprocess
import sys

RUNTIME = {"linux-vdso", "ld-linux-x86-64", "ld-linux-aarch64", "ld-linux", "libstdc++",
           "libm", "libc", "libgcc_s"}
# A sanitizer build brings its runtimes into every binary; they are the build's, not a dependency.
SANITIZERS = {"libasan", "libubsan", "liblsan", "libtsan"}
RUNTIME |= SANITIZERS


def loaded(path):
    """Library stems and resolved paths of everything the loader maps for `path`."""
    out = subprocess.run(["ldd", path], capture_output=True, text=True, check=True).stdout
    libs = {}
    for line in out.splitlines():
        line = line.strip()
        if not line or line.startswith("statically linked"):
            continue
        name = line.split()[0]
        stem = re.sub(r"\.so.*$", "", os.path.basename(name))
        match = re.search(r"=>\s*(\S+)", line)
        libs[stem] = match.group(1) if match else name
    return libs


def main():
    runner, engine = sys.argv[1], sys.argv[2]
    faults = []

    engine_libs = loaded(engine)
    extra = sorted(set(engine_libs) - RUNTIME)
    if extra:
        faults.append(f"the engine loads more than the C++ runtime: {', '.join(extra)}")

    runner_libs = loaded(runner)
    extra = sorted(set(runner_libs) - RUNTIME)
    if extra:
        faults.append(f"the runner loads libraries beyond the C++ runtime: {', '.join(extra)}")
    if any(stem.startswith("libKolmar2017") for stem in runner_libs):
        faults.append("the runner links the engine instead of loading it for a run")

    for fault in faults:
        print(fault)
    if not faults:
        print("runner:", ", ".join(sorted(runner_libs)))
        print("engine:", ", ".join(sorted(engine_libs)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
