"""The project model from Python: defaults, typed attributes, the file, the unit switch."""

import copy

import pytest

import kolmar
from conftest import EXAMPLES, copy_example


def example(stem):
    return next(e for e in EXAMPLES if e.stem == stem)


def test_new_project_holds_the_defaults_of_file_new():
    p = kolmar.Project()
    assert (p.Title, p.fUnits, p.units, p.METHOD, p.KCYCL, p.NLRFD) == ("New Pile", 1, "English",
                                                                       2, 1, 2)
    assert (p.PINC, p.RCYCL, p.FST, p.FSB, p.NPOINTPD) == (1.0, 1.0, 2.5, 3.0, 5)
    assert p.PDSETT[:5] == [0.1, 0.25, 0.5, 0.75, 1.0]
    assert len(p.layers) == 1 and p.layers[0].kind == kolmar.SoilKind.SAND
    assert p.TblTZDepth == [0.0]


def build_sand_water_table():
    """examples/sand-water-table.kx8d, typed in from a new project."""
    p = kolmar.Project()
    p.Title = "Uniform sand with a water table at 10 ft"
    p.METHOD = kolmar.Method.SHAFT_LENGTH
    p.KCYCL = kolmar.Loading.COMPRESSION
    p.NLRFD = kolmar.DesignMethod.ASD
    p.DSTART = p.DIALIM = 3
    p.EPILE = 3600000
    p.WTD = 10
    p.PD = 50
    p.layers[0].depth = 70
    p.layers[0].top = {"unit_weight": 120, "friction_angle": 34, "ko": 0, "beta": 0}
    p.layers[0].bottom = {"unit_weight": 125, "friction_angle": 38}
    p.layers[0].set("method", kolmar.SandMethod.BETA)
    p.layers[0].set("blow_counts", 15, 30)
    p.TblTZDepth = [10, 30]
    p.PrintTZCurves = 1
    return p


def test_project_built_in_python_saves_as_the_program_writes_it(tmp_path, runner):
    target = tmp_path / "built.kx8d"
    built = build_sand_water_table()
    built.save(target)
    assert target.read_text() == example("sand-water-table").read_text()
    # The program's reader takes it as it is.
    checked = runner("check", target)
    assert checked.returncode == 0, checked.stdout + checked.stderr


@pytest.mark.parametrize("path", EXAMPLES, ids=lambda p: p.stem)
def test_every_example_reads_and_writes_back_byte_for_byte(path, tmp_path):
    p = kolmar.Project.load(path)
    p.save(tmp_path / path.name)
    assert (tmp_path / path.name).read_bytes() == path.read_bytes()
    # to_dict and from_dict carry the whole project.
    again = kolmar.Project.from_dict(p.to_dict())
    again.save(tmp_path / "again.kx8d")
    assert (tmp_path / "again.kx8d").read_bytes() == path.read_bytes()


def test_older_layout_reads_and_saves_in_the_current_layout(tmp_path, runner):
    project = copy_example(example("clay-bell"), tmp_path / "old")
    lines = project.read_text().splitlines(keepends=True)
    words = lines[2].split()
    lines[2] = " ".join(words[:6]) + "\n"  # the 2012 layout's control line
    project.write_text("".join(lines))
    p = kolmar.Project.load(project)
    p.save(tmp_path / "py.kx8d")
    upgraded = runner("upgrade", project)
    assert upgraded.returncode == 0, upgraded.stdout + upgraded.stderr
    assert (tmp_path / "py.kx8d").read_text() == project.read_text()


def test_unit_switch_converts_as_the_program_does():
    p = kolmar.Project.load(example("sand-water-table"))
    p.units = "SI"
    assert p.fUnits == 2
    assert p.PD == pytest.approx(50 / 3.280839895)
    assert p.layers[0].depth == pytest.approx(70 / 3.280839895)
    p.units = "English"
    assert p.PD == pytest.approx(50)
    # Back and forth, a run gives the English results again within rounding.
    assert kolmar.capacity(p)["QU"] == pytest.approx(
        kolmar.capacity(kolmar.Project.load(example("sand-water-table")))["QU"], rel=1e-6)


def test_layers_read_and_write_through_and_copies_are_independent():
    p = kolmar.Project.load(example("sand-over-clay"))
    q = copy.deepcopy(p)
    p.layers[1].kind = kolmar.SoilKind.GRAVEL  # fresh parameters of the new kind
    assert p.layers[1].parameter_names == ["unit_weight", "blow_counts", "beta"]
    assert q.layers[1].kind == kolmar.SoilKind.CLAY
    p.layers.append(kolmar.Layer(kolmar.SoilKind.WEAK_ROCK, 200.0))
    assert len(p.layers) == len(q.layers) + 1 and p.layers[-1].depth == 200.0
    del p.layers[-1]
    assert len(p.layers) == len(q.layers)
    assert p != q
