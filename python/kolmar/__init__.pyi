"""Type stubs of the kolmar package.

Project values are in the project's unit system: English ft, tons, lbs/ft^2 (stresses),
lbs/ft^3 (unit weights), lbs/in^2 (moduli), in (settlements); SI m, kN, kN/m^2, kN/m^3, kN/m^2,
m. Result tables are in the report's units: ft, tons, tsf, cu yd, in; or m, kN, kPa, cu m, m.
"""

import enum
import os
from collections.abc import Iterable, Iterator
from typing import Any

import numpy as np
import numpy.typing as npt

class SoilKind(enum.IntEnum):
    SAND = 1
    CLAY = 2
    CLAY_SHALE = 3
    STRONG_ROCK_SIDE_OR_BASE = 4
    DECOMPOSED_ROCK = 5
    WEAK_ROCK = 6
    STRONG_ROCK_SIDE_AND_BASE = 7
    GRAVELLY_SAND = 8
    GRAVEL = 9

class Method(enum.IntEnum):
    DESIGN_LOAD = 1
    SHAFT_LENGTH = 2

class Loading(enum.IntEnum):
    COMPRESSION = 1
    UPLIFT = 2

class DesignMethod(enum.IntEnum):
    LRFD = 1
    ASD = 2

class SandMethod(enum.IntEnum):
    KO = 1
    BETA = 2
    KULHAWY_CHEN = 3

class CheckError(ValueError): ...

class RunError(RuntimeError):
    status: int
    meaning: str
    message: str
    results: Results | None
    def __init__(self, status: int, meaning: str, message: str,
                 results: Results | None = ...) -> None: ...

class Layer:
    """One layer. Parameters by kind (top and bottom of the layer):
    sand: unit_weight (lbs/ft^3 | kN/m^3), friction_angle (deg), blow_counts, ko, beta,
      method (SandMethod), interface_angle (deg), m;
    clay, clay shale: unit_weight, cohesion (lbs/ft^2 | kN/m^2), blow_counts, alpha, nc;
    strong rock: qu (lbs/ft^2 | kN/m^2), concrete_fc (lbs/ft^2 | kN/m^2), spacing (ft | m),
      thickness (ft | m), socket_diameter (ft | m), modulus (lbs/in^2 | kN/m^2), rqd (%);
    decomposed rock: unit_weight, blow_counts, poisson, modulus (lbs/in^2 | kN/m^2),
      socket_diameter (ft | m);
    weak rock: qu, condition (1..4), slump (in | m), interface_angle (deg), socket_diameter,
      modulus, rqd (%);
    gravelly sand, gravel: unit_weight, blow_counts, beta."""
    kind: SoilKind
    depth: float  # bottom of the layer, ft or m
    max_side_friction: float  # lbs/ft^2 or kN/m^2, 0 = no limit
    max_end_bearing: float  # lbs/ft^2 or kN/m^2, 0 = no limit
    lrfd_side: float
    lrfd_tip: float
    top: dict[str, float]
    bottom: dict[str, float]
    @property
    def parameter_names(self) -> list[str]: ...
    def __init__(self, kind: SoilKind | int = ..., depth: float = ...) -> None: ...
    def set(self, name: str, top: float, bottom: float | None = ...) -> None: ...

class _Layers:
    def __len__(self) -> int: ...
    def __getitem__(self, i: int) -> Layer: ...
    def __setitem__(self, i: int, layer: Layer) -> None: ...
    def __delitem__(self, i: int) -> None: ...
    def __iter__(self) -> Iterator[Layer]: ...
    def insert(self, i: int, layer: Layer) -> None: ...
    def append(self, layer: Layer) -> None: ...

class Project:
    FileName: str
    fUnits: int  # 1 English, 2 SI; assigning converts
    units: str  # "English" or "SI"; assigning converts
    Title: str
    PINC: float  # output increment, ft or m
    PrintTZCurves: int
    METHOD: int  # Method
    KCYCL: int  # Loading
    RCYCL: float
    DSTART: float  # ft or m
    DIALIM: float  # ft or m
    RATIO: float
    BELANGL: float  # degrees
    TOPLENG: float  # ft or m
    BS: float  # ft or m
    EPILE: float  # lbs/in^2 or kN/m^2
    WTD: float  # ft or m
    PD: float  # ft or m
    PDMIN: float  # ft or m
    PDINCR: float  # ft or m
    DIAMINCR: float  # ft or m
    NPOINTPD: int
    PDSETT: list[float]  # in or m
    FST: float
    FSB: float
    LPD: float  # tons or kN
    ValElevation: float  # ft or m
    UseElevation: int
    ID2: int
    IPENT: int
    IChart: int
    IMOD: int
    Yesnewversion: int
    NLRFD: int  # DesignMethod
    TblTZDepth: list[float]  # ft or m
    layers: _Layers
    def __init__(self) -> None: ...
    @staticmethod
    def load(path: str | os.PathLike[str]) -> Project: ...
    def save(self, path: str | os.PathLike[str] | None = ...) -> None: ...
    def to_dict(self) -> dict[str, Any]: ...
    @staticmethod
    def from_dict(d: dict[str, Any]) -> Project: ...
    def run(self, output_dir: str | os.PathLike[str] | None = ...,
            name: str = ...) -> Results: ...
    # cell_depth ft or m, cell_capacity kips or kN; None: the set-up beside the project
    def bidirectional(self, cell_depth: float | None = ..., cell_capacity: float | None = ...,
                      at_balance: bool = ...) -> BidirectionalTest: ...
    def balance_depth(self) -> float | None: ...  # ft or m, to the nearest foot

class Table:
    values: npt.NDArray[np.float64]  # rows x columns
    columns: list[str]
    units: list[str]
    def __len__(self) -> int: ...
    def index(self, name: str) -> int: ...
    def __getitem__(self, name: str) -> npt.NDArray[np.float64]: ...
    def __getattr__(self, name: str) -> npt.NDArray[np.float64]: ...
    def unit(self, name: str) -> str: ...
    def to_dict(self) -> dict[str, Any]: ...

class Case:
    diameter: float  # ft or m
    length: float  # ft or m
    design_row: int
    capacity: Table  # L ft|m, tip_layer, volume cu yd|cu m, QS QB QU QBD QDN tons|kN, qb tsf|kPa...
    layer_resistance: Table
    trend: Table  # top_load tons|kN, top_movement in|m, tip_load, tip_movement
    upper: Table
    lower: Table
    tz: dict[str, Table]  # "trend" | "upper" | "lower": curve, depth, t psi|kPa, z in|m
    qw: dict[str, Table]
    distribution: dict[str, Table]
    def design(self) -> dict[str, float] | None: ...

class Results:
    status: int
    meaning: str
    messages: str
    cases: list[Case]
    design_charts: Table  # settlement, diameter, length, load
    @property
    def capacity(self) -> Table: ...
    @property
    def trend(self) -> Table: ...
    @property
    def upper(self) -> Table: ...
    @property
    def lower(self) -> Table: ...
    def layer_resistance(self, at_length: float | None = ...) -> Table: ...
    @property
    def warnings(self) -> list[dict[str, Any]]: ...
    def to_dict(self) -> dict[str, Any]: ...
    def write_json(self, path: str | os.PathLike[str]) -> None: ...

def read_results(path: str | os.PathLike[str]) -> dict[str, Any]: ...
def run_many(projects: Iterable[Project], workers: int | None = ...,
             raise_errors: bool = ...) -> list[Results | Exception]: ...
def capacity(project: Project, length: float | None = ...) -> dict[str, float]: ...

class BidirectionalTest:
    # Tables in the project's units: ft, kips, in (English) or m, kN, mm (SI).
    upward: Table  # cell_load, cell_top_movement, top_movement
    downward: Table  # cell_load, cell_bottom_movement, tip_load, tip_movement
    equivalent: Table  # cell_movement, top_load, top_movement
    top_down: Table  # the analysis' trend line: top_load, top_movement
    upper_distribution: Table  # step, depth, load, movement
    lower_distribution: Table  # step, depth, load, movement
    balance: Table  # cell_depth, upper_capacity, lower_capacity
    cell_depth: float  # ft or m
    cell_capacity: float | None  # kips or kN
    upper_weight: float  # kips or kN
    upper_capacity: float  # kips or kN, with the weight
    lower_capacity: float  # kips or kN
    first_ultimate_load: float  # kips or kN
    first_part: str  # "upper" or "lower"
    balance_depth: float | None  # ft or m
    balance_upper_capacity: float | None  # kips or kN
    balance_lower_capacity: float | None  # kips or kN
    diameter: float  # ft or m
    length: float  # ft or m
    message: str
    json: str
    values: dict[str, float | None]
    def to_dict(self) -> dict[str, Any]: ...
    def write_json(self, path: str | os.PathLike[str]) -> None: ...

def bidir_setup_path(project_path: str | os.PathLike[str]) -> str: ...
def read_bidir_setup(project: Project) -> dict[str, float | None] | None: ...
def write_bidir_setup(project: Project, cell_depth: float, cell_capacity: float | None = ...,
                      path: str | os.PathLike[str] | None = ...) -> str: ...
