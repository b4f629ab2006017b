#!/usr/bin/env python3
"""Seed corpora of the fuzz targets, written under BUILD/corpus-<target>/.

fuzz_plot_reader: plot files of the bundled examples (analysed with BUILD/bin/kolmar in a
scratch directory) and of the test data, up to 64 kB, each behind the three setting bytes the target reads
first, in the combinations of settings that decide which sections the reader expects.
fuzz_evaluator: the entries of expressions.txt, one per line.
fuzz_names_dat: names.dat files as the program writes them, and damaged ones.

Usage: seed_corpus.py BUILD_DIR
"""
import itertools
import pathlib
import shutil
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
MAX_PLOT_SEED = 64 * 1024
ROOT = HERE.parent.parent


def fresh(directory):
    shutil.rmtree(directory, ignore_errors=True)
    directory.mkdir(parents=True)
    return directory


def example_plot_files(build):
    """Runs every example in BUILD/fuzz-runs and returns the plot files made."""
    runner = build / "bin" / "kolmar"
    work = fresh(build / "fuzz-runs")
    if not runner.exists():
        print(f"seed_corpus: {runner} not built; only the test data seeds the plot reader")
        return []
    for project in sorted((ROOT / "examples").glob("*.kx8d")):
        shutil.copy(project, work)
        subprocess.run([str(runner), "run", str(work / project.name)], cwd=work,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return sorted(work.glob("*.kx8p"))


def plot_seeds(build):
    out = fresh(build / "corpus-fuzz_plot_reader")
    files = example_plot_files(build)
    files += sorted(ROOT.glob("tests/*/data/*.kx8p")) + sorted(ROOT.glob("tests/*/data/*.plt"))
    # The long files of the examples with many lengths add no section the others lack, and each
    # run of a 100 kB input costs the fuzzer a hundred runs of a small one.
    files = [f for f in files if f.stat().st_size <= MAX_PLOT_SEED]
    count = 0
    for path in files:
        text = path.read_bytes()
        # Byte 0: IPENT 1, IChart 2, PrintTZCurves 4, Yesnewversion 16, NLRFD 2 in bits 6-7.
        # Byte 1: SI 1, two layers. Byte 2: no variation.
        for ipent, chart, tz, new, si in itertools.product((0, 1), repeat=5):
            b0 = ipent | chart << 1 | tz << 2 | new << 4 | 2 << 6
            b1 = si | 1 << 1
            (out / f"{path.stem}-{b0:02x}{b1:02x}").write_bytes(bytes((b0, b1, 0)) + text)
            count += 1
    return count


def evaluator_seeds(build):
    out = fresh(build / "corpus-fuzz_evaluator")
    lines = (HERE / "expressions.txt").read_text().splitlines()
    for i, line in enumerate(lines):
        (out / f"expr{i:03d}").write_text(line)
    return len(lines)


def names_seeds(build):
    out = fresh(build / "corpus-fuzz_names_dat")
    roles = (".kx8d", ".kx8o", ".kx8p", ".kx8r", ".kx8z", ".kx8w", ".kx8t", ".kx8q", ".kx8l")

    def names(base, version="2017.8.9", end="\n"):
        return end.join([version] + [base + ext for ext in roles]) + end

    seeds = {
        "program": names("/home/user/shafts/pier 12"),
        "relative": names("pier"),
        "windows": names("C:\\Projects\\Kolmar\\Pier", end="\r\n"),
        "long-version": names("a", version="2017.8.9 and some more text"),
        "trailing-blanks": names("b", end="   \n"),
        "long-name": names("/d/" + "x" * 300),
        "short": "2017.8.9\nproject.kx8d\nproject.kx8o\n",
        "console": "\n".join(["v", "in.kx8d"]),
        "empty": "",
        "project": "pier 12.kx8d",
    }
    for name, text in seeds.items():
        (out / name).write_text(text)
    return len(seeds)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = pathlib.Path(sys.argv[1]).resolve()
    print(f"seed_corpus: {plot_seeds(build)} plot, {evaluator_seeds(build)} expression, "
          f"{names_seeds(build)} names.dat seeds")


if __name__ == "__main__":
    main()
