#!/usr/bin/python3
"""The Monte Carlo study of montecarlo.py on a Dask distributed cluster: each sample is one
independent task (a project dict in, two numbers out), so the study spreads over as many
workers as the cluster has. Without --scheduler it starts an in-process LocalCluster (threads:
the engine runs with Python's interpreter lock released); with --scheduler tcp://HOST:8786 it
uses a running cluster whose workers can import kolmar. Draws montecarlo_dask.png.

    PYTHONPATH=build/python examples/python/montecarlo_dask.py [--small] [--samples N]
        [--scheduler ADDRESS] [--out DIR]
"""

import argparse
import pathlib
import sys

import numpy as np
from distributed import Client, LocalCluster

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import montecarlo  # noqa: E402


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--small", action="store_true", help="20 samples, for the tests")
    ap.add_argument("--samples", type=int, default=1000)
    ap.add_argument("--workers", type=int, default=2, help="threads of the local cluster")
    ap.add_argument("--scheduler", help="address of a running cluster's scheduler")
    ap.add_argument("--out", default=".", help="folder of the figure")
    a = ap.parse_args()

    if a.scheduler:
        cluster = None
        client = Client(a.scheduler)
    else:
        cluster = LocalCluster(processes=False, n_workers=1, threads_per_worker=a.workers,
                               dashboard_address=None)
        client = Client(cluster)
    try:
        samples = montecarlo.sample_projects(20 if a.small else a.samples)
        futures = client.map(montecarlo.evaluate, samples, pure=False)
        pairs = client.gather(futures)
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    qu, settlement = (np.array(v) for v in zip(*pairs))
    montecarlo.summary(qu, settlement)
    out = pathlib.Path(a.out) / "montecarlo_dask.png"
    montecarlo.draw(qu, settlement, out, f"Sand shaft, 3 ft x 50 ft: {len(qu)} samples on Dask")
    print(f"figure: {out}")


if __name__ == "__main__":
    main()
