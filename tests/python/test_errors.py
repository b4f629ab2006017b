"""Refusals reach Python as exceptions naming what is wrong."""

import pytest

import kolmar
from conftest import EXAMPLES


def sand_project():
    return kolmar.Project.load(next(e for e in EXAMPLES if e.stem == "sand-water-table"))


def test_layer_check_refuses_a_short_profile_before_running():
    p = sand_project()
    p.layers[-1].depth = p.PD  # the profile must reach the length plus two diameters
    with pytest.raises(kolmar.CheckError) as refused:
        p.run()
    assert "two" in str(refused.value).lower() or "diameter" in str(refused.value).lower()


def test_thin_layer_is_refused():
    p = sand_project()
    layer = kolmar.Layer(kolmar.SoilKind.SAND, p.layers[0].depth + 1.0)
    p.layers.insert(1, layer)
    with pytest.raises(kolmar.CheckError):
        p.run()


def test_engine_refusal_is_a_run_error_with_status_and_meaning():
    p = sand_project()
    p.DSTART = 0.0  # the engine refuses a shaft without a diameter
    with pytest.raises(kolmar.RunError) as failed:
        p.run()
    assert failed.value.status == 8  # the project holds data the engine refuses
    assert "refuses" in failed.value.meaning
    assert failed.value.results is not None and failed.value.results.status == 8


@pytest.mark.parametrize("action, error", [
    (lambda p: setattr(p, "PD", float("nan")), ValueError),
    (lambda p: p.layers[0].set("friction_angle", float("inf")), ValueError),
    (lambda p: p.layers[0].set("cohesion", 1.0), KeyError),
    (lambda p: p.layers[7], IndexError),
    (lambda p: setattr(p, "units", "metric"), ValueError),
    (lambda p: setattr(p, "PDSETT", [0.1] * 11), ValueError),
    (lambda p: setattr(p.layers[0], "kind", 12), ValueError),
    (lambda p: p.run(name="../elsewhere"), ValueError),
])
def test_bad_values_are_refused_and_change_nothing(action, error):
    p = sand_project()
    before = p.to_dict()
    with pytest.raises(error):
        action(p)
    assert p.to_dict() == before


def test_unreadable_project_file_names_the_file(tmp_path):
    bad = tmp_path / "bad.kx8d"
    bad.write_text("title\n1\n2 1 1 1 1 2 0 0 0 0 1\nnot numbers at all\n")
    with pytest.raises(ValueError, match="bad.kx8d"):
        kolmar.Project.load(bad)
    with pytest.raises(ValueError, match="missing.kx8d"):
        kolmar.Project.load(tmp_path / "missing.kx8d")


def test_a_title_with_a_line_break_is_refused_by_save_and_run(tmp_path):
    p = sand_project()
    target = tmp_path / "kept.kx8d"
    p.save(target)
    kept = target.read_bytes()
    p.Title = "two\nlines"
    with pytest.raises(ValueError, match="[Tt]itle"):
        p.save(target)
    assert target.read_bytes() == kept
    with pytest.raises(ValueError, match="[Tt]itle"):
        p.run()


def test_an_output_folder_that_cannot_be_made_is_an_os_error(tmp_path):
    (tmp_path / "file").write_text("")
    with pytest.raises(OSError):
        sand_project().run(output_dir=tmp_path / "file" / "below")
