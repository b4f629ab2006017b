#!/usr/bin/python3
"""Every example analysed by the Linux runner and by kolmar.exe under Wine, each in a folder whose
name holds non-ASCII characters, must give the same report, run notes, t-z listing, plot file
and results file, byte for byte, with the date lines and the lines that name the folder masked.

The results file writes every double in full, so it shows the last binary digit: it is the same
because the engine takes its transcendental functions correctly rounded on both systems.

Usage: same_outputs.py LINUX_KOLMAR WINE_RUN KOLMAR_EXE EXAMPLES_DIR WORK_DIR
Exits 77 (skipped) when the Linux runner has not been built.
"""

import pathlib
import shutil
import subprocess
import sys

RESULTS = [".kx8o", ".kx8r", ".kx8z", ".kx8p", ".results.json"]
# German, Greek and Chinese: outside any one ANSI code page of Windows.
FOLDER = "Bohrpfähle Ωμέγα 桩基"
DATE_LINE = " " * 15 + "Date:  "


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
            diff = subprocess.run(["diff", "-u", str(files[0]), str(files[1])],
                                  capture_output=True, text=True).stdout
            failures.append(f"{name}: differs\n{diff[:4000]}")
        print(f"{p.name}: status {linux[0]}, the same on both")
    for f in failures:
        print("FAIL", f)
    if not failures:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
