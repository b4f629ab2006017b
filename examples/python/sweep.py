#!/usr/bin/python3
"""Parametric sweep: shaft diameters x lengths in the sand of examples/sand-water-table.kx8d.
For each shaft the load at 1 in of settlement is read off the load-settlement trend; for each
design load the shortest shaft of each diameter that carries it is chosen. Draws the load at
1 in against length, one line per diameter, with the design loads, into sweep.png.

    PYTHONPATH=build/python examples/python/sweep.py [--small] [--out DIR] [--workers N]
"""

import argparse
import pathlib

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import kolmar  # noqa: E402

HERE = pathlib.Path(__file__).resolve().parent
BASE = HERE.parent / "sand-water-table.kx8d"
SETTLEMENT = 1.0  # in


def load_at_settlement(results, settlement=SETTLEMENT):
    """Top load (tons) of the trend line at a top movement (in); NaN past the line's end."""
    trend = results.trend
    movement, load = trend.top_movement, trend.top_load
    if settlement > movement[-1]:
        return float("nan")
    return float(np.interp(settlement, movement, load))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--small", action="store_true", help="a few shafts only, for the tests")
    ap.add_argument("--out", default=".", help="folder of the figure")
    ap.add_argument("--workers", type=int, default=2)
    a = ap.parse_args()

    diameters = [2.0, 3.0, 4.0] if a.small else [2.0, 2.5, 3.0, 3.5, 4.0, 4.5]
    lengths = np.arange(20.0, 61.0, 20.0 if a.small else 2.0)
    loads = [150.0, 300.0, 450.0]  # tons

    base = kolmar.Project.load(BASE)
    projects = []
    for d in diameters:
        for length in lengths:
            p = kolmar.Project.from_dict(base.to_dict())
            p.DSTART = p.DIALIM = d
            p.PD = float(length)
            p.PrintTZCurves = 0  # no extra t-z curves: their depths pass the short shafts
            projects.append(p)
    runs = kolmar.run_many(projects, workers=a.workers, raise_errors=True)
    capacity = np.array([load_at_settlement(r) for r in runs]).reshape(len(diameters), -1)

    print(f"Shortest shaft carrying each load at {SETTLEMENT} in of settlement (ft):")
    print("load (tons) " + "".join(f"  D={d:<4} ft" for d in diameters))
    for load in loads:
        cells = []
        for i in range(len(diameters)):
            ok = np.nonzero(capacity[i] >= load)[0]
            cells.append(f"{lengths[ok[0]]:10.0f}" if len(ok) else "         -")
        print(f"{load:11.0f} " + "  ".join(cells))

    fig, ax = plt.subplots(figsize=(7, 4.5))
    for i, d in enumerate(diameters):
        ax.plot(lengths, capacity[i], marker="o", ms=3, label=f"D = {d:g} ft")
    for load in loads:
        ax.axhline(load, color="grey", lw=0.8, ls="--")
        ax.text(lengths[-1], load, f"{load:g} tons ", ha="right", va="bottom", fontsize=8,
                color="grey")
    ax.set_xlabel("Shaft length (ft)")
    ax.set_ylabel(f"Load at {SETTLEMENT:g} in settlement (tons)")
    ax.set_title("Sand with a water table at 10 ft: load at 1 in against length")
    ax.legend()
    ax.grid(alpha=0.3)
    out = pathlib.Path(a.out) / "sweep.png"
    fig.tight_layout()
    fig.savefig(out, dpi=120)
    print(f"figure: {out}")


if __name__ == "__main__":
    main()
