#!/usr/bin/python3
"""Bidirectional (jack-cell) load test of the 3 ft shaft, 50 ft long, in the sand of
examples/sand-water-table.kx8d: where to place the cell, and what the test should show. Finds
the balance depth, simulates the test with the cell 20 ft down and a 400-kip cell, and draws the
upward and downward curves, the equivalent top-down curve beside the analysis' own trend line,
and the two capacities against cell depth, into bidirectional.png.

    PYTHONPATH=build/python examples/python/bidirectional.py [--out DIR] [--cell-depth D]
"""

import argparse
import pathlib

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import kolmar  # noqa: E402

HERE = pathlib.Path(__file__).resolve().parent
BASE = HERE.parent / "sand-water-table.kx8d"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=".", help="folder of the figure")
    ap.add_argument("--cell-depth", type=float, default=20.0, help="ft below the shaft top")
    ap.add_argument("--cell-capacity", type=float, default=400.0, help="kips")
    ap.add_argument("--small", action="store_true", help="(the study is small already)")
    a = ap.parse_args()

    p = kolmar.Project.load(BASE)
    balance = p.balance_depth()
    t = p.bidirectional(cell_depth=a.cell_depth, cell_capacity=a.cell_capacity)
    free = p.bidirectional(cell_depth=a.cell_depth)  # the same test without the cell's limit
    at = p.bidirectional(at_balance=True)

    print(f"shaft {t.diameter:.1f} ft x {t.length:.0f} ft, cell at {t.cell_depth:.2f} ft")
    print(f"upper part: ultimate {t.upper_capacity:.1f} kips "
          f"(buoyant weight {t.upper_weight:.1f} kips)")
    print(f"lower part: ultimate {t.lower_capacity:.1f} kips")
    print(f"first to fail: {t.first_part} part at a cell load of {t.first_ultimate_load:.1f} kips")
    print(f"balance depth {balance:.0f} ft: upper {at.upper_capacity:.1f} kips, "
          f"lower {at.lower_capacity:.1f} kips")

    fig, ax = plt.subplots(1, 3, figsize=(15, 5.2))
    up, down = free.upward, free.downward
    ax[0].plot(up.cell_load, up.cell_top_movement, "-", color="tab:blue",
               label="upward: top of the cell")
    ax[0].plot(up.cell_load, up.top_movement, ":", color="tab:blue", label="upward: shaft top")
    ax[0].plot(down.cell_load, -down.cell_bottom_movement, "-", color="tab:red",
               label="downward: bottom of the cell")
    ax[0].axvline(a.cell_capacity, color="grey", ls="--", lw=1,
                  label=f"cell capacity {a.cell_capacity:.0f} kips")
    ax[0].set_xlabel("cell load (kips)")
    ax[0].set_ylabel("movement (in), up positive")
    ax[0].set_ylim(-2.0, 2.0)
    ax[0].set_title(f"Cell at {t.cell_depth:.0f} ft: the two parts")
    ax[0].legend(fontsize=8)

    eq, td = free.equivalent, free.top_down
    ax[1].plot(eq.top_load, eq.top_movement, "-", color="tab:green",
               label="equivalent top-down (elastic correction)")
    ax[1].plot(eq.top_load, eq.cell_movement, "--", color="tab:green", lw=1,
               label="equivalent, rigid (movement at the cell)")
    ax[1].plot(td.top_load, td.top_movement, "o-", color="black", ms=3,
               label="top-down analysis, trend line")
    ax[1].set_xlabel("top load (kips)")
    ax[1].set_ylabel("top settlement (in)")
    ax[1].set_ylim(2.0, 0.0)
    ax[1].set_title("Equivalent top-down curve")
    ax[1].legend(fontsize=8)

    b = free.balance
    ax[2].plot(b.upper_capacity, b.cell_depth, "-", color="tab:blue",
               label="upper part (side x RCYCL + weight)")
    ax[2].plot(b.lower_capacity, b.cell_depth, "-", color="tab:red", label="lower part (side + base)")
    ax[2].axhline(balance, color="grey", ls="--", lw=1, label=f"balance depth {balance:.0f} ft")
    ax[2].set_ylim(t.length, 0.0)
    ax[2].set_xlabel("ultimate cell load (kips)")
    ax[2].set_ylabel("cell depth (ft)")
    ax[2].set_title("Placing the cell")
    ax[2].legend(fontsize=8)
    for x in ax:
        x.grid(True, alpha=0.3)
    fig.tight_layout()
    out = pathlib.Path(a.out) / "bidirectional.png"
    fig.savefig(out, dpi=110)
    print(f"figure: {out}")


if __name__ == "__main__":
    main()
