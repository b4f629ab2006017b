"""Kolmar from Python: drilled-shaft projects built, read and written, analysed in-process.

Values of a project are in its own unit system: English ft, tons, lbs/ft^2 (stresses),
lbs/ft^3 (unit weights), lbs/in^2 (moduli) and in (settlements); SI m, kN, kN/m^2, kN/m^3,
kN/m^2 and m. Result tables are in the report's units: ft, tons, tsf, cu yd and in for English
projects; m, kN, kPa, cu m and m for SI projects (t-z curves in psi or kPa).
"""

from __future__ import annotations

import concurrent.futures
import copy as _copy
import enum
import json
import os
import re
import tempfile

import numpy as np

from ._kolmar import Layer, Project
from . import _kolmar


def _write_atomically(path: str | os.PathLike, text: str) -> str:
    """Writes text to path whole: into a temporary file beside it, then put in its place."""
    path = os.fspath(path)
    fd, temporary = tempfile.mkstemp(dir=os.path.dirname(os.path.abspath(path)),
                                     prefix=".kolmar-", suffix=".tmp")
    try:
        with os.fdopen(fd, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        os.replace(temporary, path)
    except BaseException:
        if os.path.exists(temporary):
            os.remove(temporary)
        raise
    return path

__all__ = [
    "BidirectionalTest", "CheckError", "DesignMethod", "Layer", "Loading", "Method", "Project",
    "Results", "RunError", "SandMethod", "SoilKind", "Table", "bidir_setup_path", "capacity",
    "read_bidir_setup", "read_results", "run_many", "write_bidir_setup",
]


class SoilKind(enum.IntEnum):
    """Soil or rock kind of a layer; each has its own parameters (Layer.parameter_names)."""
    SAND = 1
    CLAY = 2
    CLAY_SHALE = 3
    STRONG_ROCK_SIDE_OR_BASE = 4  # strong rock, side friction or end bearing
    DECOMPOSED_ROCK = 5           # decomposed rock or gravel, intermediate geomaterial
    WEAK_ROCK = 6
    STRONG_ROCK_SIDE_AND_BASE = 7  # strong rock, side friction plus end bearing
    GRAVELLY_SAND = 8
    GRAVEL = 9


Layer.kind = property(lambda layer: SoilKind(layer._kind),
                      lambda layer, kind: setattr(layer, "_kind", int(kind)),
                      doc="Soil kind (SoilKind); changing it gives the layer fresh parameters "
                          "of the new kind")


class Method(enum.IntEnum):
    """What the project gives (METHOD)."""
    DESIGN_LOAD = 1   # the design load LPD; the engine finds the length
    SHAFT_LENGTH = 2  # the shaft length PD


class Loading(enum.IntEnum):
    """Type of loading (KCYCL)."""
    COMPRESSION = 1
    UPLIFT = 2


class DesignMethod(enum.IntEnum):
    """Design method (NLRFD)."""
    LRFD = 1
    ASD = 2


class SandMethod(enum.IntEnum):
    """Side friction method of a sand layer (its parameter "method")."""
    KO = 1
    BETA = 2
    KULHAWY_CHEN = 3


class CheckError(ValueError):
    """The layer check before a run refused the project (the runner's warning text)."""


class RunError(RuntimeError):
    """The engine ended a run with a status other than normal completion."""

    def __init__(self, status: int, meaning: str, message: str, results: "Results | None" = None):
        super().__init__(f"run status {status}: {meaning}\n{message}".rstrip())
        self.status = status
        self.meaning = meaning
        self.message = message
        self.results = results


# ---------------------------------------------------------------------------------------------
# Tables and results

def _key(name: str) -> str:
    return re.sub(r"[^0-9a-z]+", "_", name.lower()).strip("_")


class Table:
    """One result table: values (rows x columns, numpy float64), column names and units.
    A column is reached by its name (table["QU"]) or as an attribute in lower case (table.qu)."""

    def __init__(self, values: np.ndarray, columns: list[str], units: list[str]):
        self.values = values
        self.columns = list(columns)
        self.units = list(units)

    def __len__(self) -> int:
        return self.values.shape[0]

    _ALIASES = {"depth": "L", "length": "L"}

    def index(self, name: str) -> int:
        if name not in self.columns and name in self._ALIASES:
            name = self._ALIASES[name]
        if name in self.columns:
            return self.columns.index(name)
        keys = [_key(c) for c in self.columns]
        if _key(name) in keys:
            return keys.index(_key(name))
        raise KeyError(f"no column {name!r}; the columns are {self.columns}")

    def __getitem__(self, name: str) -> np.ndarray:
        return self.values[:, self.index(name)]

    def __getattr__(self, name: str) -> np.ndarray:
        if name.startswith("__") or name in ("values", "columns", "units"):
            raise AttributeError(name)
        try:
            return self[name]
        except KeyError as e:
            raise AttributeError(str(e)) from None

    def unit(self, name: str) -> str:
        return self.units[self.index(name)]

    def to_dict(self) -> dict:
        return {"columns": self.columns, "units": self.units, "values": self.values.tolist()}

    def __repr__(self) -> str:
        return f"Table({len(self)} rows, columns={self.columns})"


def _table(d: dict) -> Table:
    return Table(d["values"], d["columns"], d["units"])


_LINES = ("trend", "upper", "lower")


class Case:
    """One diameter and length of a run, in the order of the report."""

    def __init__(self, d: dict):
        self.diameter: float = d["diameter"]  # stem diameter, ft or m
        self.length: float = d["length"]      # shaft length, ft or m
        self.design_row: int = d["design_row"]  # row of capacity at the design length, -1 none
        self.capacity = _table(d["capacity"])
        self.layer_resistance = _table(d["layer_resistance"])
        self.trend = _table(d["trend"])
        self.upper = _table(d["upper"])
        self.lower = _table(d["lower"])
        self.tz = {line: _table(d["tz_" + line]) for line in _LINES}
        self.qw = {line: _table(d["qw_" + line]) for line in _LINES}
        self.distribution = {line: _table(d["distribution_" + line]) for line in _LINES}

    def design(self) -> dict | None:
        """The capacity row at the design length as {column: value}, or None."""
        if self.design_row < 0:
            return None
        return dict(zip(self.capacity.columns, self.capacity.values[self.design_row].tolist()))


def _with_case_tables(d: dict) -> dict:
    """The results file's dict with every case holding its own capacity table ("capacity"),
    whichever its layout: "kolmar-results/2" keeps each distinct table once ("capacity_tables",
    dropped here) and a case names its own by its place in that list ("capacity_table"). The
    cases that name one table share one dict. Raises ValueError naming a case that names no
    table."""
    tables = d.pop("capacity_tables", None)
    cases = d.get("cases") or []
    for n, case in enumerate(cases, start=1):
        if "capacity_table" not in case:
            continue
        place = case["capacity_table"]
        count = len(tables) if isinstance(tables, list) else 0
        if type(place) is not int or not 0 <= place < count:
            raise ValueError(f"case {n}: capacity_table {json.dumps(place)} names no table "
                             f"(the file has {count} capacity table{'' if count == 1 else 's'})")
        case_with = {}
        for key, value in case.items():  # the table where the case named it
            if key == "capacity_table":
                case_with["capacity"] = tables[place]
            else:
                case_with[key] = value
        cases[n - 1] = case_with
    return d


def read_results(path: str | os.PathLike) -> dict:
    """A results file (NAME.results.json, "kolmar-results/1" or "/2") as a dict in which every
    case holds its own capacity table under "capacity", as Results.to_dict() gives it. Raises
    ValueError for another file or a case that names no table."""
    with open(path, encoding="utf-8") as f:
        d = json.load(f)
    if not isinstance(d, dict) or d.get("schema") not in ("kolmar-results/1", "kolmar-results/2"):
        raise ValueError(f"{os.fspath(path)} is not a kolmar-results/1 or kolmar-results/2 file")
    return _with_case_tables(d)


class Results:
    """The results of one run, every table of the results file as numpy arrays. The tables of
    the first case are also reached directly (results.capacity, .trend, .upper, .lower)."""

    def __init__(self, data: dict):
        self.status: int = data["status"]
        self.meaning: str = data["meaning"]
        self.messages: str = data["messages"]  # what the engine wrote for a console
        self._json_text: str = data["json"]
        self.cases = [Case(c) for c in data["cases"]]
        self.design_charts = _table(data["design_charts"])
        self._parsed: dict | None = None  # the results file, parsed when first asked for

    @property
    def _dict(self) -> dict:
        if self._parsed is None:
            text = self._json_text
            self._parsed = _with_case_tables(json.loads(text)) if text else {}
        return self._parsed

    def _first(self) -> Case:
        if not self.cases:
            raise ValueError("the run produced no case")
        return self.cases[0]

    @property
    def capacity(self) -> Table:
        """Capacity against length of the first case (L, QS, QB, QU, QDN, LRFD columns...)."""
        return self._first().capacity

    @property
    def trend(self) -> Table:
        return self._first().trend

    @property
    def upper(self) -> Table:
        return self._first().upper

    @property
    def lower(self) -> Table:
        return self._first().lower

    def layer_resistance(self, at_length: float | None = None) -> Table:
        """Side resistance of each layer at the design length of the first case, or of the case
        whose shaft length is at_length (ft or m)."""
        if at_length is None:
            return self._first().layer_resistance
        for case in self.cases:
            if abs(case.length - at_length) < 1e-9:
                return case.layer_resistance
        raise ValueError(f"no case has the length {at_length}; the lengths are "
                         f"{[c.length for c in self.cases]}")

    @property
    def warnings(self) -> list[dict]:
        """The warning, error and note blocks of the run notes: kind, layer, depth, text."""
        return list(self._dict.get("messages", []))

    def to_dict(self) -> dict:
        """The results file as a dict, every case with its own capacity table under "capacity"
        (the cases of one diameter share one dict), as read_results gives a file."""
        return _copy.deepcopy(self._dict)

    def write_json(self, path: str | os.PathLike) -> None:
        """Writes the results file to path, whole, through a temporary file."""
        _write_atomically(path, self._json_text)


# ---------------------------------------------------------------------------------------------
# The project

_SCALARS = ["fUnits", "Title", "PINC", "PrintTZCurves", "METHOD", "KCYCL", "RCYCL", "DSTART",
            "DIALIM", "RATIO", "BELANGL", "TOPLENG", "BS", "EPILE", "WTD", "PD", "PDMIN",
            "PDINCR", "DIAMINCR", "NPOINTPD", "PDSETT", "FST", "FSB", "LPD", "ValElevation",
            "UseElevation", "ID2", "IPENT", "IChart", "IMOD", "Yesnewversion", "NLRFD"]
_LAYER_FIELDS = ["depth", "max_side_friction", "max_end_bearing", "lrfd_side", "lrfd_tip"]


class _LayerRef:
    """A layer of a project, read and written through to it."""

    def __init__(self, project: Project, index: int):
        object.__setattr__(self, "_project", project)
        object.__setattr__(self, "_index", index)

    def _get(self) -> Layer:
        return self._project._get_layer(self._index)

    def __getattr__(self, name):
        return getattr(self._get(), name)

    def __setattr__(self, name, value):
        layer = self._get()
        setattr(layer, name, value)
        self._project._set_layer(self._index, layer)

    def set(self, name: str, top: float, bottom: float | None = None) -> None:
        layer = self._get()
        layer.set(name, top, bottom)
        self._project._set_layer(self._index, layer)

    def __repr__(self):
        return f"<layer {self._index}: {SoilKind(self.kind).name} to {self.depth}>"


class _Layers:
    """The soil layers of a project, top first (1..40)."""

    def __init__(self, project: Project):
        self._project = project

    def __len__(self):
        return self._project._layer_count()

    def __getitem__(self, i: int) -> _LayerRef:
        n = len(self)
        j = i + n if i < 0 else i
        if not 0 <= j < n:
            raise IndexError(f"layer index {i} out of range")
        return _LayerRef(self._project, j)

    def __iter__(self):
        return (self[i] for i in range(len(self)))

    def __setitem__(self, i: int, layer: Layer) -> None:
        self._project._set_layer(i, layer)

    def __delitem__(self, i: int) -> None:
        self._project._delete_layer(i)

    def insert(self, i: int, layer: Layer) -> None:
        self._project._insert_layer(i, layer)

    def append(self, layer: Layer) -> None:
        self._project._insert_layer(len(self), layer)


def _layers(self) -> _Layers:
    """The soil layers, top first: a list-like view whose items read and write the project."""
    return _Layers(self)


def _set_layers(self, layers) -> None:
    layers = [l._get() if isinstance(l, _LayerRef) else l for l in layers]
    if not 1 <= len(layers) <= 40:
        raise ValueError("a project holds 1..40 layers")
    while self._layer_count() > 1:
        self._delete_layer(self._layer_count() - 1)
    self._set_layer(0, layers[0])
    for layer in layers[1:]:
        self._insert_layer(self._layer_count(), layer)


def _units_get(self) -> str:
    """Unit system, "English" or "SI"; assigning converts every stored value as the program's
    unit switch does."""
    return "SI" if self.fUnits == 2 else "English"


def _units_set(self, value) -> None:
    names = {"english": 1, "si": 2}
    if isinstance(value, str):
        if value.lower() not in names:
            raise ValueError(f'units must be "English" or "SI", not {value!r}')
        value = names[value.lower()]
    self.fUnits = int(value)


def _load(path: str | os.PathLike) -> Project:
    """Reads a project file in any layout the program reads."""
    return _kolmar._load(os.fspath(path))


def _save(self, path: str | os.PathLike | None = None) -> None:
    """Writes the project in the current layout (normalised as the program's Save does),
    atomically; path defaults to FileName."""
    _kolmar._save(self, "" if path is None else os.fspath(path))


def _to_dict(self) -> dict:
    """The project by the names of the project model; layers as dicts."""
    d = {name: getattr(self, name) for name in _SCALARS}
    d["layers"] = []
    for ref in _Layers(self):
        layer = ref._get()
        item = {"kind": int(layer.kind)}
        item.update({f: getattr(layer, f) for f in _LAYER_FIELDS})
        item["top"] = layer.top
        item["bottom"] = layer.bottom
        d["layers"].append(item)
    d["TblTZDepth"] = self.TblTZDepth
    return d


def _from_dict(d: dict) -> Project:
    """A project from to_dict's form; missing names keep the defaults of Project()."""
    p = Project()
    if "fUnits" in d:
        p.fUnits = d["fUnits"]
    for name in _SCALARS:
        if name in d and name != "fUnits":
            setattr(p, name, d[name])
    if "layers" in d:
        layers = []
        for item in d["layers"]:
            layer = Layer(SoilKind(item.get("kind", 1)))
            for f in _LAYER_FIELDS:
                if f in item:
                    setattr(layer, f, item[f])
            layer.top = item.get("top", {})
            layer.bottom = item.get("bottom", {})
            layers.append(layer)
        _set_layers(p, layers)
    if "TblTZDepth" in d:
        p.TblTZDepth = d["TblTZDepth"]
    return p


def _run(self, output_dir: str | os.PathLike | None = None, name: str = "project") -> Results:
    """Analyses the project in-process. The layer check of the runner comes first
    (CheckError). The project file and result files go into output_dir as NAME.kx8d, .kx8o,
    .kx8r, .kx8z, .kx8p and NAME.results.json, or into a scratch folder that is removed.
    Raises RunError(status, meaning, message) for any status other than normal completion.
    The interpreter lock is released during the engine's run."""
    if os.sep in name or (os.altsep and os.altsep in name) or not name:
        raise ValueError(f"name must be a file name without a folder, not {name!r}")
    kind, payload = _kolmar._run(self, "" if output_dir is None else os.fspath(output_dir), name)
    if kind == "check":
        raise CheckError(payload)
    results = Results(payload)
    if results.status != 0:
        raise RunError(results.status, results.meaning, results.messages, results)
    return results


class BidirectionalTest:
    """A simulated bidirectional (jack-cell) load test of the project's first case, on its
    trend-line t-z and q-w curves, in the project's units (ft, kips, in; or m, kN, mm).

    Tables (numpy arrays): upward (cell_load, cell_top_movement, top_movement), downward
    (cell_load, cell_bottom_movement, tip_load, tip_movement), equivalent (cell_movement,
    top_load, top_movement: the equivalent top-down curve with the upper part's elastic
    shortening), top_down (Kolmar's own trend line: top_load, top_movement), upper_distribution
    and lower_distribution (step, depth, load, movement) and balance (cell_depth,
    upper_capacity, lower_capacity). Values: cell_depth (on the element boundary nearest the
    depth asked for), cell_capacity (None without one), upper_weight, upper_capacity (with the
    weight), lower_capacity, first_ultimate_load and first_part ("upper" or "lower"),
    balance_depth (to the nearest foot, None when the capacities do not cross) with the two
    capacities there, diameter and length."""

    def __init__(self, data: dict):
        self.message: str = data["message"]
        self.json: str = data["json"]
        self.first_part: str = data["first_part"]
        self.values = {k: (None if v != v else v) for k, v in data["values"].items()}
        for name, table in data["tables"].items():
            setattr(self, name, _table(table))
        for name, value in self.values.items():
            setattr(self, name, value)

    def to_dict(self) -> dict:
        return json.loads(self.json)

    def write_json(self, path: str | os.PathLike) -> None:
        """Writes the results as JSON ("kolmar-bidirectional/1"), whole through a temporary file."""
        _write_atomically(path, self.json)

    def __repr__(self) -> str:
        return (f"BidirectionalTest(cell at {self.cell_depth}, upper {self.upper_capacity}, "
                f"lower {self.lower_capacity}, balance depth {self.balance_depth})")


def bidir_setup_path(project_path: str | os.PathLike) -> str:
    """NAME.bidir.json beside the project NAME.kx8d."""
    return os.path.splitext(os.fspath(project_path))[0] + ".bidir.json"


def read_bidir_setup(project: Project) -> dict | None:
    """The cell depth and capacity saved beside the project (NAME.bidir.json), in the project's
    units: {"cell_depth": ..., "cell_capacity": ... or None}; None without a file or a depth."""
    if not project.FileName:
        return None
    path = bidir_setup_path(project.FileName)
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    depth, capacity = data.get("cell_depth"), data.get("cell_capacity")
    if not isinstance(depth, (int, float)) or depth <= 0:
        return None
    if not isinstance(capacity, (int, float)) or capacity <= 0:
        capacity = None
    saved_si = data.get("units") == "SI"
    if saved_si != (project.units == "SI"):
        depth = depth / 3.2808 if project.units == "SI" else depth * 3.2808
        if capacity is not None:
            capacity = capacity * 4.448 if project.units == "SI" else capacity / 4.448
    return {"cell_depth": depth, "cell_capacity": capacity}


def write_bidir_setup(project: Project, cell_depth: float, cell_capacity: float | None = None,
                      path: str | os.PathLike | None = None) -> str:
    """Saves the test's set-up beside the project (or at `path`) in the project's units, whole
    through a temporary file, as the program's Bidirectional Test window does. Returns the path."""
    if path is None:
        if not project.FileName:
            raise ValueError("the project has no file; give a path")
        path = bidir_setup_path(project.FileName)
    si = project.units == "SI"
    text = json.dumps({"schema": "kolmar-bidirectional-setup/1",
                       "units": "SI" if si else "English",
                       "cell_depth": float(cell_depth), "cell_depth_unit": "m" if si else "ft",
                       "cell_capacity": None if not cell_capacity else float(cell_capacity),
                       "cell_capacity_unit": "kN" if si else "kips"}, indent=2) + "\n"
    return _write_atomically(path, text)


def _bidirectional(self, cell_depth: float | None = None, cell_capacity: float | None = None,
                   at_balance: bool = False) -> BidirectionalTest:
    """Simulates a bidirectional (jack-cell) load test with the cell `cell_depth` below the top
    of the shaft (ft or m) and an optional cell capacity (kips or kN). Without a depth the
    set-up saved beside the project (NAME.bidir.json) is used; at_balance=True places the cell
    at the balance depth. The layer check comes first (CheckError); a setup the engine refuses
    (a tip in rock, an uplift project, a cell depth not above 0, below the tip, in the top
    portion without side resistance or in the bell) raises RunError with its reason. The
    interpreter lock is released while the engine runs."""
    if cell_depth is None and not at_balance:
        setup = read_bidir_setup(self)
        if setup is None:
            raise ValueError("no cell depth: give cell_depth, or save the set-up beside the "
                             "project (write_bidir_setup)")
        cell_depth = setup["cell_depth"]
        if cell_capacity is None:
            cell_capacity = setup["cell_capacity"]
    kind, payload = _kolmar._bidirectional(self, float(cell_depth or 0.0),
                                           float(cell_capacity or 0.0), bool(at_balance))
    if kind == "check":
        raise CheckError(payload)
    if payload["status"] != 0:
        raise RunError(payload["status"], _kolmar._status_meaning(payload["status"]),
                       payload["message"], None)
    return BidirectionalTest(payload)


def _balance_depth(self) -> float | None:
    """The depth (ft or m, to the nearest foot) where the upper part's ultimate upward
    resistance plus its buoyant weight equals the lower part's ultimate resistance; None when
    the two capacities do not cross along the shaft."""
    kind, payload = _kolmar._bidirectional(self, 0.0, 0.0, True)
    if kind == "check":
        raise CheckError(payload)
    if payload["status"] != 0:
        if "do not cross" in payload["message"]:
            return None
        raise RunError(payload["status"], _kolmar._status_meaning(payload["status"]),
                       payload["message"], None)
    depth = payload["values"]["balance_depth"]
    return None if depth != depth else depth


Project.layers = property(_layers, _set_layers)
Project.units = property(_units_get, _units_set)
Project.load = staticmethod(_load)
Project.save = _save
Project.to_dict = _to_dict
Project.from_dict = staticmethod(_from_dict)
Project.run = _run
Project.bidirectional = _bidirectional
Project.balance_depth = _balance_depth
Project.__eq__ = lambda a, b: isinstance(b, Project) and a.to_dict() == b.to_dict()
Project.__hash__ = None  # mutable, compared by value


# ---------------------------------------------------------------------------------------------
# Helpers

def run_many(projects, workers: int | None = None, raise_errors: bool = False) -> list:
    """Runs many projects on threads (the engine's entry runs many at once). Returns one item
    per project in input order: its Results, or the CheckError / RunError / other exception
    that stopped it (raise_errors=True raises the first instead)."""
    projects = list(projects)
    workers = workers or os.cpu_count() or 1

    def one(p):
        try:
            return p.run()
        except Exception as e:  # reported in place, the others go on
            return e

    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        out = list(pool.map(one, projects))
    if raise_errors:
        for item in out:
            if isinstance(item, Exception):
                raise item
    return out


def capacity(project: Project, length: float | None = None) -> dict:
    """Runs the project and returns the design row of the capacity table of its first case as
    {column: value} (report's units), or the row at shaft length `length` (ft or m)."""
    case = project.run().cases[0]
    if length is None:
        row = case.design()
        if row is None:
            raise ValueError("the run has no design row")
        return row
    lengths = case.capacity.values[:, 0]
    hits = np.nonzero(np.abs(lengths - length) < 1e-6)[0]
    if len(hits) == 0:
        raise ValueError(f"the capacity table has no row at length {length}")
    return dict(zip(case.capacity.columns, case.capacity.values[hits[0]].tolist()))
