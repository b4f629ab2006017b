"""The studies of examples/python run on a small sample and write their figures."""

import os
import subprocess
import sys

import pytest

from conftest import SOURCE

STUDIES = SOURCE / "examples" / "python"


def run_study(name, out):
    env = dict(os.environ, MPLBACKEND="Agg")
    done = subprocess.run([sys.executable, str(STUDIES / name), "--small", "--out", str(out)],
                          capture_output=True, text=True, env=env, timeout=600)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def assert_png(path):
    assert path.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    assert path.stat().st_size > 10_000  # a drawn figure, not an empty canvas


def test_sweep_chooses_shafts_and_draws_them(tmp_path):
    pytest.importorskip("matplotlib")
    out = run_study("sweep.py", tmp_path)
    assert_png(tmp_path / "sweep.png")
    # A longer or wider shaft is never needed for a smaller load.
    rows = [line.split()[1:] for line in out.splitlines() if line[:11].strip().isdigit()]
    assert len(rows) == 3
    for column in zip(*rows):
        lengths = [float(x) if x != "-" else float("inf") for x in column]
        assert lengths == sorted(lengths)


def test_monte_carlo_on_threads_and_on_dask_agree(tmp_path):
    pytest.importorskip("matplotlib")
    pytest.importorskip("distributed")
    threads = run_study("montecarlo.py", tmp_path)
    dask = run_study("montecarlo_dask.py", tmp_path)
    assert_png(tmp_path / "montecarlo.png")
    assert_png(tmp_path / "montecarlo_dask.png")
    # The same samples give the same distribution, whichever way they were run.
    assert threads.splitlines()[0] == dask.splitlines()[0]
    assert "samples: QU mean" in threads


def test_bidirectional_study_draws_the_three_curves(tmp_path):
    pytest.importorskip("matplotlib")
    out = run_study("bidirectional.py", tmp_path)
    assert_png(tmp_path / "bidirectional.png")
    assert "balance depth 38 ft" in out
