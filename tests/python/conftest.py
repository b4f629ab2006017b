"""Shared fixtures of the Python package's tests: the examples, the runner, scratch folders."""

import os
import pathlib
import shutil
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("KOLMAR_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
BIN = pathlib.Path(os.environ.get("KOLMAR_BIN_DIR", SOURCE / "build" / "bin"))
EXAMPLES = sorted((SOURCE / "examples").glob("*.kx8d"))


@pytest.fixture
def runner(tmp_path):
    """Runs `kolmar ARGS...` and returns the completed process."""

    def run(*args):
        return subprocess.run([str(BIN / "kolmar"), *map(str, args)], capture_output=True,
                              text=True, cwd=tmp_path)

    return run


def copy_example(example, folder):
    folder.mkdir(parents=True, exist_ok=True)
    target = folder / example.name
    shutil.copyfile(example, target)
    return target
