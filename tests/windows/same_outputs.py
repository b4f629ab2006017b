#!/usr/bin/python3
"""Every example analysed by the Linux runner and by kolmar.exe under Wine, each in a folder whose
name holds non-ASCII characters, must give the same report, run notes, t-z listing, plot file
and results file, byte for byte, with the date lines and the lines that name the folder masked.

One allowance, in the results file alone: its numbers are the engine's doubles in the shortest
text that reads back as the same double, which shows the last bit. A few transcendental
functions (atan, tan, pow, ...) of the C runtime on Windows and of glibc may round a result the
other way in that bit, so a number there may differ from Linux by up to MAX_ULPS units in the
last place; the text around the numbers must be the same. The fixed-layout files print fewer
digits and must be the same bytes.

Usage: same_outputs.py LINUX_KOLMAR WINE_RUN KOLMAR_EXE EXAMPLES_DIR WORK_DIR
Exits 77 (skipped) when the Linux runner has not been built.
"""

import math
import pathlib
import re
import shutil
import subprocess
import sys

RESULTS = [".kx8o", ".kx8r", ".kx8z", ".kx8p", ".results.json"]
# German, Greek and Chinese: outside any one ANSI code page of Windows.
FOLDER = "Bohrpfähle Ωμέγα 桩基"
DATE_LINE = " " * 15 + "Date:  "
MAX_ULPS = 4
NUMBER = re.compile(r"(-?\d+(?:\.\d+)?(?:[eE][-+]?\d+)?)")


def last_bit_differences(a, b):
    """How many numbers of two results files differ within MAX_ULPS, or None when the files
    differ otherwise (text, layout, or a number beyond that)."""
    a_lines, b_lines = a.split("\n"), b.split("\n")
    if len(a_lines) != len(b_lines):
        return None
    count = 0
    for x_line, y_line in zip(a_lines, b_lines):
        if x_line == y_line:
            continue
        xs, ys = NUMBER.split(x_line), NUMBER.split(y_line)
        if len(xs) != len(ys):
            return None
        for i, (x, y) in enumerate(zip(xs, ys)):
            if x == y:
                continue
            if i % 2 == 0:
                return None  # text between the numbers
            fx, fy = float(x), float(y)
            if abs(fx - fy) > MAX_ULPS * math.ulp(max(abs(fx), abs(fy))):
                return None
            count += 1
    return count


def masked(text, folders):
    """The text with its date lines, its date and time fields (results file) and every line
    naming the project's folder (in Linux, Windows or JSON-escaped Windows form) replaced."""
    lines = []
    for line in text.split("\n"):
        stripped = line.strip()
        if line.startswith(DATE_LINE) or stripped.startswith(('"date":', '"time":')):
            line = "<date and time>"
        elif any(f in line for f in folders):
            line = "<path line>"
        lines.append(line)
    return "\n".join(lines)


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, capture_output=True, timeout=300)
    return done.returncode, done.stdout.decode("utf-8", "replace") + done.stderr.decode(
        "utf-8", "replace")


def main():
    linux_kolmar, wine_run, kolmar_exe = (str(pathlib.Path(a).resolve()) for a in sys.argv[1:4])
    examples, work = sys.argv[4:6]
    if not pathlib.Path(linux_kolmar).is_file():
        print(f"skipped: the Linux runner {linux_kolmar} has not been built")
        return 77
    work = pathlib.Path(work)
    shutil.rmtree(work, ignore_errors=True)
    sides = {"linux": work / "linux" / FOLDER, "windows": work / "windows" / FOLDER}
    projects = sorted(pathlib.Path(examples).glob("*.kx8d"))
    for folder in sides.values():
        folder.mkdir(parents=True)
        for p in projects:
            shutil.copy(p, folder / p.name)
    folders = []
    for folder in sides.values():
        windows_form = "Z:" + str(folder).replace("/", "\\")
        folders += [str(folder), windows_form, windows_form.replace("\\", "\\\\")]

    failures = []
    last_bits = 0
    for p in projects:
        linux = run([linux_kolmar, "run", p.name], sides["linux"])
        windows = run([wine_run, kolmar_exe, "run", p.name], sides["windows"])
        if linux[0] != windows[0]:
            failures.append(f"{p.name}: status {linux[0]} on Linux, {windows[0]} on Windows\n"
                            f"{windows[1]}")
            continue
        for ext in RESULTS:
            name = p.stem + ext
            files = [sides[s] / name for s in ("linux", "windows")]
            if not all(f.is_file() for f in files):
                failures.append(f"{name}: missing on " +
                                " and ".join(s for s, f in zip(sides, files) if not f.is_file()))
                continue
            a, b = (f.read_bytes() for f in files)
            if b"\r" in b:
                failures.append(f"{name}: the Windows file holds carriage returns")
            a, b = masked(a.decode("utf-8"), folders), masked(b.decode("utf-8"), folders)
            if a == b:
                continue
            near = last_bit_differences(a, b) if ext == ".results.json" else None
            if near is not None:
                last_bits += near
            else:
                diff = subprocess.run(["diff", "-u", str(files[0]), str(files[1])],
                                      capture_output=True, text=True).stdout
                failures.append(f"{name}: differs\n{diff[:4000]}")
        print(f"{p.name}: status {linux[0]}, the same on both")
    if last_bits:
        print(f"{last_bits} numbers of the results files differ from Linux in their last bits")
    for f in failures:
        print("FAIL", f)
    if not failures:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
