"""Results through Python equal what the runner writes: every example, every table."""

import json
import re

import numpy as np
import pytest

import kolmar
from conftest import EXAMPLES, copy_example

LINES = ("trend", "upper", "lower")


def runner_results(runner, example, folder):
    project = copy_example(example, folder)
    done = runner("run", project)
    assert done.returncode == 0, done.stderr
    return kolmar.read_results(project.with_suffix(".results.json"))


def python_results(example, folder):
    return kolmar.Project.load(example).run(output_dir=folder, name=example.stem)


FILE_LINES = ("trend", "upper_bound", "lower_bound")


def assert_table(table, file_table):
    assert table.columns == [c["name"] for c in file_table["columns"]]
    assert table.units == [c["unit"] for c in file_table["columns"]]
    np.testing.assert_array_equal(table.values, rows(file_table))


def rows(table):
    return np.array(table["rows"], dtype=float).reshape(-1, len(table["columns"]))


@pytest.mark.parametrize("example", EXAMPLES, ids=lambda p: p.stem)
def test_example_results_equal_the_runners_results_file(example, runner, tmp_path):
    expected = runner_results(runner, example, tmp_path / "runner")
    got = python_results(example, tmp_path / "python")

    # The same data, apart from when and in which folder the run was made.
    mine = got.to_dict()
    for key in ("date", "time"):
        expected.pop(key)
        mine.pop(key)
    assert mine["input"].pop("file") == str(tmp_path / "python" / example.name)
    expected["input"].pop("file")
    assert mine == expected

    # The arrays are the file's tables, value for value, with their column names.
    assert len(got.cases) == len(expected["cases"])
    for case, file_case in zip(got.cases, expected["cases"]):
        assert case.diameter == file_case["diameter"]
        assert case.length == file_case["length"]
        for name in ("capacity", "layer_resistance"):
            table = getattr(case, name)
            assert table.columns == [c["name"] for c in file_case[name]["columns"]]
            assert table.units == [c["unit"] for c in file_case[name]["columns"]]
            np.testing.assert_array_equal(table.values, rows(file_case[name]))
        curves = file_case["load_settlement"]
        if "rock" in curves:  # a tip in rock: the method's one curve is the trend table
            assert_table(case.trend, curves["rock"])
            assert len(case.upper) == len(case.lower) == 0
        else:
            for line, key in zip(LINES, FILE_LINES):
                assert_table(getattr(case, line), curves[key])
        for mine, theirs in (("tz", "tz_curves"), ("qw", "qw_curves"),
                             ("distribution", "load_distribution")):
            for line, key in zip(LINES, FILE_LINES):
                if key in file_case[theirs]:
                    assert_table(getattr(case, mine)[line], file_case[theirs][key])
                else:
                    assert len(getattr(case, mine)[line]) == 0
        if file_case["design_row"] is None:
            assert case.design_row == -1
        else:
            assert case.design_row == file_case["design_row"]
            assert case.design() == pytest.approx(file_case["design"], rel=0, abs=0)
    if expected["design_charts"] is None:
        assert len(got.design_charts) == 0
    else:
        assert_table(got.design_charts, expected["design_charts"])
    # The result files beside the Python run are the runner's, byte for byte.
    for suffix in (".kx8o", ".kx8r", ".kx8z", ".kx8p"):
        texts = []
        for side in ("runner", "python"):
            text = (tmp_path / side / example.name).with_suffix(suffix).read_text()
            texts.append(mask(text.replace(str(tmp_path / side), "<folder>")))
        assert texts[1] == texts[0], suffix


def mask(text):
    """Dates and times of the run masked."""
    return re.sub(r"\d{1,2}[:/.-]\d{1,2}[:/.-]\d{2,4}", "<date>", text)


def test_load_settlement_and_tz_tables_follow_the_tip_material(tmp_path):
    soil = kolmar.Project.load(next(e for e in EXAMPLES if e.stem == "sand-water-table")).run()
    assert soil.trend.columns == ["top_load", "top_movement", "tip_load", "tip_movement"]
    assert len(soil.trend) > 0 and len(soil.upper) > 0 and len(soil.lower) > 0
    # The load grows with the movement along each line.
    assert np.all(np.diff(soil.trend.top_load) >= 0)
    for line in LINES:
        assert soil.cases[0].tz[line].columns == ["curve", "depth", "t", "z"]
        assert len(soil.cases[0].qw[line]) > 0

    rock = kolmar.Project.load(next(e for e in EXAMPLES if e.stem == "weak-rock-socket")).run()
    assert rock.trend.columns == ["top_load", "top_movement"]
    assert len(rock.cases[0].tz["trend"]) == 0  # a tip in rock has no t-z curves


def test_capacity_helper_gives_the_design_row_or_the_row_at_a_length():
    project = kolmar.Project.load(next(e for e in EXAMPLES if e.stem == "sand-water-table"))
    results = project.run()
    design = kolmar.capacity(project)
    assert design == results.cases[0].design()
    assert design["L"] == project.PD
    shorter = kolmar.capacity(project, length=20)
    assert shorter["L"] == 20 and shorter["QU"] < design["QU"]
    np.testing.assert_array_equal(results.capacity.depth, results.capacity["L"])
    with pytest.raises(ValueError, match="no row at length"):
        kolmar.capacity(project, length=20.5)


def test_results_file_written_from_python_is_the_engines(tmp_path):
    results = kolmar.Project.load(EXAMPLES[0]).run(output_dir=tmp_path, name="one")
    results.write_json(tmp_path / "copy.json")
    assert (tmp_path / "copy.json").read_text() == (tmp_path / "one.results.json").read_text()
    assert results.warnings == results.to_dict()["messages"]


def earlier_layout(text):
    """A results file's text in the earlier layout, "kolmar-results/1": each case holds its
    capacity table where it names it, indented as a case's member, and no list of tables."""
    decoder = json.JSONDecoder()
    key = '  "capacity_tables": ['
    head = text.index(key)
    tables, at = [], head + len(key)
    while True:
        at += len(text[at:]) - len(text[at:].lstrip())
        if text[at] == "]":
            break
        _, end = decoder.raw_decode(text, at)
        tables.append(text[at:end].replace("\n", "\n  "))
        at = end + (text[end] == ",")
    text = text[:head] + text[at + 1:].removeprefix(",\n")
    text = re.sub(r'"capacity_table": (\d+)', lambda m: '"capacity": ' + tables[int(m[1])], text)
    return text.replace('"kolmar-results/2"', '"kolmar-results/1"', 1)


def test_both_layouts_give_every_case_its_own_capacity_table(runner, tmp_path):
    example = next(e for e in EXAMPLES if e.stem == "sand-over-clay")  # lengths x diameters
    projects = {side: copy_example(example, tmp_path / side) for side in ("v2", "v1")}
    assert runner("run", projects["v2"]).returncode == 0
    files = {side: p.with_suffix(".results.json") for side, p in projects.items()}
    files["v1"].write_text(earlier_layout(files["v2"].read_text()))

    new, old = kolmar.read_results(files["v2"]), kolmar.read_results(files["v1"])
    assert (new.pop("schema"), old.pop("schema")) == ("kolmar-results/2", "kolmar-results/1")
    assert new == old
    assert len({c["diameter"] for c in new["cases"]}) < len(new["cases"])
    # The runner's CSV tables of either layout, byte for byte.
    csv = {}
    for side, project in projects.items():
        done = runner("results", project, "--format", "csv", "-o", tmp_path / side / "csv")
        assert done.returncode == 0, done.stderr
        csv[side] = {f.name: f.read_bytes() for f in (tmp_path / side / "csv").iterdir()}
    assert csv["v1"] == csv["v2"] and "case24-capacity.csv" in csv["v2"]

    # A case that names no table: an error naming the case, in Python and in the runner.
    broken = json.loads(files["v2"].read_text())
    for place in (len(broken["capacity_tables"]), -1, "0", None):
        broken["cases"][3]["capacity_table"] = place
        files["v2"].write_text(json.dumps(broken))
        said = f"case 4: capacity_table {json.dumps(place)} names no table"
        with pytest.raises(ValueError, match=re.escape(said)):
            kolmar.read_results(files["v2"])
        done = runner("results", projects["v2"], "--format", "csv")
        assert done.returncode == 65 and said in done.stderr, done.stderr
    files["v2"].write_text(json.dumps({"schema": "kolmar-bidirectional/1"}))
    with pytest.raises(ValueError, match="not a kolmar-results/1 or kolmar-results/2 file"):
        kolmar.read_results(files["v2"])


ASD_COLUMNS = ["L", "volume", "QS", "QB", "QU", "QBD", "QDN", "QU_per_volume"]
LRFD_COLUMNS = ["L", "volume", "QS", "QB", "QU", "QS_lrfd", "QB_lrfd", "QU_lrfd"]


def printed_capacity_rows(report):
    """The columns and rows of the first capacity table of a report: eight numbers after the
    LENGTH heading (ASD or LRFD), up to the first line that is not such a row."""
    lines = report.splitlines()
    start = next(i for i, line in enumerate(lines) if line.split()[:2] == ["LENGTH", "VOLUME"])
    columns = LRFD_COLUMNS if "LRFD" in lines[start] else ASD_COLUMNS
    rows = []
    for line in lines[start + 2:]:
        words = line.split()
        if not words and not rows:
            continue
        if len(words) != len(columns):
            break
        rows.append(words)
    return columns, rows


@pytest.mark.parametrize("example", EXAMPLES, ids=lambda p: p.stem)
def test_capacity_arrays_match_the_values_printed_in_the_report(example, tmp_path):
    results = python_results(example, tmp_path)
    columns, printed = printed_capacity_rows((tmp_path / example.name).with_suffix(".kx8o").read_text())
    table = results.cases[0].capacity
    assert len(printed) == len(table)
    for words, row in zip(printed, table.values):
        for name, word in zip(columns, words):
            decimals = len(word.split(".")[1]) if "." in word else 0
            value = row[table.index(name)]
            assert abs(value - float(word)) <= 0.5 * 10.0**-decimals + 1e-9, (name, word, value)


def test_layer_resistance_at_a_length_is_that_cases_table():
    results = kolmar.Project.load(next(e for e in EXAMPLES if e.stem == "sand-over-clay")).run()
    lengths = sorted({case.length for case in results.cases})
    assert len(lengths) > 1
    chosen = results.layer_resistance(at_length=lengths[-1])
    first = next(c for c in results.cases if c.length == lengths[-1])
    np.testing.assert_array_equal(chosen.values, first.layer_resistance.values)
    assert chosen.columns[:4] == ["layer", "code", "top", "bottom"]
    with pytest.raises(ValueError, match="no case has the length"):
        results.layer_resistance(at_length=lengths[-1] + 0.5)


def test_si_project_tables_are_in_si_units():
    results = kolmar.Project.load(next(e for e in EXAMPLES if e.stem == "si-dense-sand")).run()
    assert [results.capacity.unit(c) for c in ("L", "QU", "qb")] == ["m", "kN", "kPa"]
    assert results.trend.units[:2] == ["kN", "m"]
