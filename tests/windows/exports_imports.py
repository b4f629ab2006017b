#!/usr/bin/python3
"""The Windows engine library exports IKOLMAR and the programs' interface and nothing else, and
the library and the runner import from system DLLs alone (the compiler's runtimes are linked in),
so that the folder runs on a bare Windows machine.

Usage: exports_imports.py OBJDUMP Kolmar2017_DLL.dll kolmar.exe
"""

import re
import subprocess
import sys

EXPORTS = {
    "IKOLMAR", "kolmar_run", "kolmar_results_status", "kolmar_results_status_text",
    "kolmar_results_messages", "kolmar_results_json", "kolmar_results_case_count",
    "kolmar_results_case_diameter", "kolmar_results_case_length", "kolmar_results_design_row",
    "kolmar_results_table", "kolmar_results_column_name", "kolmar_results_column_unit",
    "kolmar_results_write_json", "kolmar_results_free",
    "kolmar_bidirectional", "kolmar_bidirectional_status", "kolmar_bidirectional_message",
    "kolmar_bidirectional_json", "kolmar_bidirectional_value", "kolmar_bidirectional_first_part",
    "kolmar_bidirectional_table", "kolmar_bidirectional_column_name",
    "kolmar_bidirectional_column_unit", "kolmar_bidirectional_free",
}
# What every Windows installation has.
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "shell32.dll", "user32.dll", "advapi32.dll"}


def main():
    objdump, dll, exe = sys.argv[1:4]
    problems = []
    for binary in (dll, exe):
        listing = subprocess.run([objdump, "-p", binary], capture_output=True, text=True,
                                 check=True).stdout
        imports = {m.lower() for m in re.findall(r"DLL Name: (\S+)", listing)}
        if imports - SYSTEM_DLLS:
            problems.append(f"{binary} needs {sorted(imports - SYSTEM_DLLS)}")
        if binary == dll:
            table = listing.split("[Ordinal/Name Pointer] Table", 1)
            rows = table[1].split("\n\n", 1)[0] if len(table) == 2 else ""
            names = set(re.findall(r"^\s*\[\s*\d+\]\s+(\S+)", rows, re.M))
            if names != EXPORTS:
                problems.append(f"{binary} exports {sorted(names - EXPORTS)} too and lacks "
                                f"{sorted(EXPORTS - names)}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
