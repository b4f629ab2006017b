"""Many runs on threads give what serial runs give, in input order, errors in place."""

import numpy as np

import kolmar
from conftest import EXAMPLES


def sixty_projects():
    base = kolmar.Project.load(next(e for e in EXAMPLES if e.stem == "sand-water-table"))
    projects = []
    for i in range(60):
        p = kolmar.Project.from_dict(base.to_dict())
        p.DSTART = p.DIALIM = 2.0 + 0.25 * (i % 10)
        p.PD = 30.0 + (i // 10) * 4.0
        projects.append(p)
    return projects


def assert_same(a, b):
    assert a.to_dict()["cases"] == b.to_dict()["cases"]
    for ca, cb in zip(a.cases, b.cases):
        for name in ("capacity", "layer_resistance", "trend", "upper", "lower"):
            np.testing.assert_array_equal(getattr(ca, name).values, getattr(cb, name).values)
        for line in ("trend", "upper", "lower"):
            np.testing.assert_array_equal(ca.tz[line].values, cb.tz[line].values)
            np.testing.assert_array_equal(ca.distribution[line].values,
                                          cb.distribution[line].values)


def test_sixty_projects_on_two_threads_equal_serial_runs():
    projects = sixty_projects()
    serial = [p.run() for p in projects]
    threaded = kolmar.run_many(projects, workers=2)
    assert len(threaded) == 60
    for one, other in zip(serial, threaded):
        assert isinstance(other, kolmar.Results)
        assert_same(one, other)
    # The order is the input's: the diameters differ from project to project.
    assert [r.cases[0].diameter for r in threaded] == [p.DSTART for p in projects]


def test_a_failing_project_is_reported_in_its_place_and_the_others_run():
    projects = sixty_projects()[:6]
    projects[1].layers[0].depth = projects[1].PD  # refused by the layer check
    projects[4].DSTART = 0.0                      # refused by the engine
    out = kolmar.run_many(projects, workers=3)
    assert isinstance(out[1], kolmar.CheckError)
    assert isinstance(out[4], kolmar.RunError) and out[4].status == 8
    assert all(isinstance(out[i], kolmar.Results) for i in (0, 2, 3, 5))
