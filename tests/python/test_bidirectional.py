"""The simulated bidirectional test from Python: the tables and values in the project's units,
the set-up file beside the project shared with the runner, the balance depth, English and SI
twins, and refusals as the engine words them."""

import json
import math

import numpy as np
import pytest

import kolmar
from conftest import SOURCE, copy_example

EXAMPLE = SOURCE / "examples" / "sand-water-table.kx8d"


def test_tables_values_and_units():
    p = kolmar.Project.load(EXAMPLE)
    t = p.bidirectional(cell_depth=20.0)
    assert t.cell_depth == pytest.approx(20.0)
    assert t.cell_capacity is None
    assert t.upward.units == ["kips", "in", "in"]
    assert t.equivalent.columns == ["cell_movement", "top_load", "top_movement"]
    # The upward curve starts at the weight of the part above the cell and rises to its ultimate.
    assert t.upward.cell_load[0] == pytest.approx(t.upper_weight, rel=0.1)
    assert t.upward.cell_load[-1] == pytest.approx(t.upper_capacity)
    assert t.first_ultimate_load == pytest.approx(min(t.upper_capacity, t.lower_capacity))
    assert t.first_part == "upper"
    # At the analysis' largest top movement the equivalent curve is near its trend line (the
    # same curves on one shaft; the upper part's side is mobilised from its bottom).
    last = t.top_down.top_movement[-1]
    equivalent = np.interp(last, t.equivalent.top_movement, t.equivalent.top_load)
    assert equivalent == pytest.approx(t.top_down.top_load[-1], rel=0.05)
    assert (t.equivalent.top_movement >= t.equivalent.cell_movement).all()
    d = t.to_dict()
    assert d["schema"] == "kolmar-bidirectional/1"
    assert d["upper_capacity"]["unit"] == "kips"


def test_setup_file_is_shared_with_the_runner(tmp_path, runner):
    project = copy_example(EXAMPLE, tmp_path)
    p = kolmar.Project.load(project)
    with pytest.raises(ValueError, match="no cell depth"):
        p.bidirectional()
    path = kolmar.write_bidir_setup(p, 25.0, 500.0)
    assert path == str(tmp_path / "sand-water-table.bidir.json")
    assert json.loads(open(path).read())["cell_capacity"] == 500.0
    t = p.bidirectional()
    assert t.cell_depth == pytest.approx(25.0, abs=0.5)
    assert t.cell_capacity == pytest.approx(500.0)
    assert (t.upward.cell_load <= 500.0).all() and (t.downward.cell_load <= 500.0).all()
    r = runner("bidirectional", project)
    assert r.returncode == 0, r.stderr
    assert "capacity 500.0 kips" in r.stdout


def test_balance_depth_and_si_twin():
    p = kolmar.Project.load(EXAMPLE)
    balance = p.balance_depth()
    assert balance == 38.0
    at = p.bidirectional(at_balance=True)
    assert at.balance_depth == balance
    assert at.upper_capacity == pytest.approx(at.lower_capacity, rel=0.1)
    si = kolmar.Project.load(EXAMPLE)
    si.units = "SI"
    t_si = si.bidirectional(cell_depth=20.0 / 3.2808)
    t_en = p.bidirectional(cell_depth=20.0)
    assert t_si.upward.units == ["kN", "mm", "mm"]
    assert t_si.upper_capacity == pytest.approx(t_en.upper_capacity * 4.448, rel=0.005)
    assert t_si.lower_capacity == pytest.approx(t_en.lower_capacity * 4.448, rel=0.005)
    assert si.balance_depth() == pytest.approx(balance / 3.2808, rel=1e-6)


def test_refusals():
    p = kolmar.Project.load(EXAMPLE)
    with pytest.raises(kolmar.RunError, match="below the shaft tip at 50.00 ft") as e:
        p.bidirectional(cell_depth=55.0)
    assert e.value.status == 8
    rock = kolmar.Project.load(SOURCE / "examples" / "weak-rock-socket.kx8d")
    with pytest.raises(kolmar.RunError, match=r"lies in layer \d+ \(weak rock"):
        rock.bidirectional(cell_depth=5.0)
    with pytest.raises(kolmar.RunError, match="must be a number greater than 0"):
        p.bidirectional(cell_depth=math.nan)
