#!/usr/bin/python3
"""Speed-up of kolmar.run_many over serial runs: N variants of an example (diameters and
lengths), run one after another and then on WORKERS threads; prints both wall times and
their ratio. Needs the package on PYTHONPATH (build/python).

    PYTHONPATH=build/python bench/python_run_many.py [--projects 60] [--workers 2] [--repeat 3]
"""

import argparse
import pathlib
import time

import kolmar


def variants(example, count):
    base = kolmar.Project.load(example)
    out = []
    for i in range(count):
        p = kolmar.Project.from_dict(base.to_dict())
        p.DSTART = p.DIALIM = 2.0 + 0.25 * (i % 10)
        p.PD = 30.0 + (i // 10) * 4.0
        out.append(p)
    return out


def best_of(repeat, job):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        job()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    here = pathlib.Path(__file__).resolve().parents[1]
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--projects", type=int, default=60)
    ap.add_argument("--workers", type=int, default=2)
    ap.add_argument("--repeat", type=int, default=3)
    ap.add_argument("--example", default=str(here / "examples" / "sand-water-table.kx8d"))
    a = ap.parse_args()
    projects = variants(a.example, a.projects)
    serial = best_of(a.repeat, lambda: [p.run() for p in projects])
    threaded = best_of(a.repeat, lambda: kolmar.run_many(projects, workers=a.workers,
                                                         raise_errors=True))
    print(f"{a.projects} projects: serial {serial:.3f} s, run_many({a.workers} workers) "
          f"{threaded:.3f} s, speed-up {serial / threaded:.2f}x")


if __name__ == "__main__":
    main()
