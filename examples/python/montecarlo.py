#!/usr/bin/python3
"""Monte Carlo study of a shaft in sand (examples/sand-water-table.kx8d) with uncertain blow
counts and friction angles: the distribution of the ultimate capacity and of the settlement at
the service load, over independent runs on a concurrent.futures thread pool (the engine runs
with Python's interpreter lock released). Draws both histograms into montecarlo.png.

    PYTHONPATH=build/python examples/python/montecarlo.py [--small] [--samples N] [--out DIR]
"""

import argparse
import concurrent.futures
import pathlib

import numpy as np

import kolmar

HERE = pathlib.Path(__file__).resolve().parent
BASE = HERE.parent / "sand-water-table.kx8d"
SERVICE_LOAD = 200.0  # tons


def sample_projects(count, seed=2017):
    """Project dicts (to_dict form, which pickles and travels) with the blow counts and the
    friction angles at the top and bottom of the sand drawn at random: blow counts lognormal
    about the profile's (15 and 30, coefficient of variation 0.3), friction angles normal about
    34 and 38 degrees (standard deviation 2)."""
    rng = np.random.default_rng(seed)
    base = kolmar.Project.load(BASE).to_dict()
    out = []
    for _ in range(count):
        d = {**base, "layers": [dict(layer) for layer in base["layers"]]}
        layer = d["layers"][0]
        top, bottom = dict(layer["top"]), dict(layer["bottom"])
        sigma = np.sqrt(np.log(1 + 0.3**2))
        top["blow_counts"] = max(1, round(15 * rng.lognormal(-sigma**2 / 2, sigma)))
        bottom["blow_counts"] = max(1, round(30 * rng.lognormal(-sigma**2 / 2, sigma)))
        top["friction_angle"] = float(rng.normal(34, 2))
        bottom["friction_angle"] = float(rng.normal(38, 2))
        layer["top"], layer["bottom"] = top, bottom
        out.append(d)
    return out


def evaluate(project_dict, service_load=SERVICE_LOAD):
    """(ultimate capacity QU at the proposed length in tons, settlement at the service load in
    in) of one sampled project; the settlement is NaN when the trend line ends below the load."""
    results = kolmar.Project.from_dict(project_dict).run()
    qu = results.cases[0].design()["QU"]
    trend = results.trend
    if service_load > trend.top_load[-1]:
        return qu, float("nan")
    return qu, float(np.interp(service_load, trend.top_load, trend.top_movement))


def draw(qu, settlement, path, title):
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    fig, (left, right) = plt.subplots(1, 2, figsize=(9, 3.8))
    left.hist(qu, bins="auto", color="tab:blue", alpha=0.8)
    left.axvline(np.median(qu), color="k", lw=1, ls="--", label=f"median {np.median(qu):.0f}")
    left.set_xlabel("Ultimate capacity QU at 50 ft (tons)")
    left.set_ylabel("Samples")
    left.legend()
    ok = settlement[np.isfinite(settlement)]
    right.hist(ok, bins=30, color="tab:orange", alpha=0.8)
    right.axvline(np.percentile(ok, 90), color="k", lw=1, ls="--",
                  label=f"90th percentile {np.percentile(ok, 90):.3f} in")
    right.set_xlabel(f"Settlement at {SERVICE_LOAD:g} tons (in)")
    right.legend()
    fig.suptitle(title)
    fig.tight_layout()
    fig.savefig(path, dpi=120)
    plt.close(fig)


def summary(qu, settlement):
    ok = settlement[np.isfinite(settlement)]
    print(f"{len(qu)} samples: QU mean {qu.mean():.1f} tons, 5th percentile "
          f"{np.percentile(qu, 5):.1f} tons; settlement at {SERVICE_LOAD:g} tons: median "
          f"{np.median(ok):.3f} in, 90th percentile {np.percentile(ok, 90):.3f} in")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--small", action="store_true", help="20 samples, for the tests")
    ap.add_argument("--samples", type=int, default=1000)
    ap.add_argument("--workers", type=int, default=2)
    ap.add_argument("--out", default=".", help="folder of the figure")
    a = ap.parse_args()
    samples = sample_projects(20 if a.small else a.samples)
    with concurrent.futures.ThreadPoolExecutor(max_workers=a.workers) as pool:
        pairs = list(pool.map(evaluate, samples))
    qu, settlement = (np.array(v) for v in zip(*pairs))
    summary(qu, settlement)
    out = pathlib.Path(a.out) / "montecarlo.png"
    draw(qu, settlement, out, f"Sand shaft, 3 ft x 50 ft: {len(qu)} samples")
    print(f"figure: {out}")


if __name__ == "__main__":
    main()
