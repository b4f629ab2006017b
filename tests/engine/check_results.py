#!/usr/bin/python3
"""Checks a results file against its schema and against the report of the same run.

usage: check_results.py SCHEMA REPORT RESULTS_JSON

The file must validate against the schema, and every number the report prints in the capacity
tables (every row, the design row among them) and in the load-settlement tables must equal the
file's value to the report's printing precision; the file holds each distinct capacity table
once, in the order the cases first name it. Exit status 0 when all holds; otherwise the
differences are printed and the status is 1.
"""
import json
import re
import sys

import jsonschema

NUMBER = re.compile(r"^-?[0-9]*\.?[0-9]+(E[+-][0-9]+)?$")


def tolerance(token):
    """Half a unit in the last printed digit, and a little for the rounding of the print."""
    mantissa, _, exponent = token.partition("E")
    decimals = len(mantissa.split(".")[1]) if "." in mantissa else 0
    return 0.5 * 10.0 ** (int(exponent or 0) - decimals) * (1 + 1e-9) + 1e-12


def numeric_rows(lines, start):
    """The rows of numbers from `start` up to the first line that is not all numbers."""
    rows = []
    i = start
    while i < len(lines):
        tokens = lines[i].split()
        if not tokens or not all(NUMBER.match(t) for t in tokens):
            if rows or tokens:
                break
        else:
            rows.append(tokens)
        i += 1
    return rows


def capacity_tables(lines):
    """The capacity tables of the report, in case order, with the columns they print."""
    tables = []
    for i, line in enumerate(lines):
        if line.strip().startswith("LENGTH  VOLUME"):
            lrfd = "LRFD QS" in line
            names = ["L", "volume", "QS", "QB", "QU"]
            names += ["QS_lrfd", "QB_lrfd", "QU_lrfd"] if lrfd else ["QBD", "QDN", "QU_per_volume"]
            tables.append((names, numeric_rows(lines, i + 2)))
    return tables


def settlement_tables(lines):
    """The four-column load-settlement tables of the t-z method, in order."""
    tables = []
    for i, line in enumerate(lines):
        if line.split() == ["TOP", "LOAD", "TOP", "MOVEMENT", "TIP", "LOAD", "TIP", "MOVEMENT"]:
            # The loads at the design-chart settlements share the heading; they are not a line.
            if any("DEFINED SETTLEMENTS" in lines[j] for j in range(max(0, i - 3), i)):
                continue
            tables.append(numeric_rows(lines, i + 2))
    return tables


def rock_tables(lines):
    """The two-column curves of the rock methods (top load, top movement)."""
    tables = []
    for i, line in enumerate(lines):
        if line.split() in (["TOP", "LOAD", "TOP", "MOVEMENT"],
                            ["TOP", "LOAD", "TOP", "MOVEMENT", "TOP", "LOAD", "TOP", "MOVEMENT"]):
            tables.append(numeric_rows(lines, i + 2))
    return tables


def compare(where, printed, value, problems):
    if value is None or abs(float(printed) - value) > tolerance(printed):
        problems.append(f"{where}: report {printed}, results file {value!r}")


def main():
    schema_path, report_path, json_path = sys.argv[1:4]
    with open(schema_path) as f:
        schema = json.load(f)
    with open(json_path) as f:
        results = json.load(f)
    jsonschema.validate(results, schema)
    with open(report_path, encoding="latin-1") as f:
        lines = f.read().splitlines()

    problems = []
    cases = results["cases"]
    # Each distinct capacity table is written once, in the order the cases first name it.
    shared = results["capacity_tables"]
    named = [case["capacity_table"] for case in cases]
    first = [place for n, place in enumerate(named) if place not in named[:n]]
    if first != list(range(len(shared))):
        print(f"{len(shared)} capacity tables, named in the order {named}")
        return 1
    for case in cases:
        case["capacity"] = shared[case["capacity_table"]]
    tables = capacity_tables(lines)
    if len(tables) != len(cases):
        problems.append(f"{len(tables)} capacity tables in the report, {len(cases)} cases")
    for n, ((names, rows), case) in enumerate(zip(tables, cases), start=1):
        columns = [c["name"] for c in case["capacity"]["columns"]]
        by_length = {row[columns.index("L")]: row for row in case["capacity"]["rows"]}
        if not rows:
            problems.append(f"case {n}: no capacity rows printed")
        for tokens in rows:
            row = next((r for L, r in by_length.items()
                        if abs(L - float(tokens[0])) <= tolerance(tokens[0])), None)
            if row is None:
                problems.append(f"case {n}: no row of length {tokens[0]} in the results file")
                continue
            for name, token in zip(names, tokens):
                column = columns.index("WT" if name == "QB" and "WT" in columns else name)
                compare(f"case {n}, L {tokens[0]}, {name}", token, row[column], problems)
        design = case["design"]
        if design is not None:
            row = case["capacity"]["rows"][case["design_row"]]
            if any(design[c] != row[k] for k, c in enumerate(columns)):
                problems.append(f"case {n}: the design row differs from its capacity row")
            # The design row lies on the whole-foot grid: the row nearest the case's length.
            nearest = min(case["capacity"]["rows"], key=lambda r: abs(r[0] - case["length"]))
            if nearest is not row:
                problems.append(f"case {n}: design length {design['L']}, case {case['length']}")

    lines_of = [(n, line, case["load_settlement"][line])
                for n, case in enumerate(cases, start=1)
                for line in ("trend", "upper_bound", "lower_bound", "rock")
                if line in case["load_settlement"]]
    soil = [(n, line, t) for n, line, t in lines_of if line != "rock"]
    rock = [(n, line, t) for n, line, t in lines_of if line == "rock"]
    printed_soil = settlement_tables(lines)
    printed_rock = rock_tables(lines)
    if len(printed_soil) != len(soil) or len(printed_rock) != len(rock):
        problems.append(f"load-settlement tables: report {len(printed_soil)} + {len(printed_rock)}, "
                        f"results file {len(soil)} + {len(rock)}")
    for (n, line, table), rows in list(zip(soil, printed_soil)) + list(zip(rock, printed_rock)):
        if len(rows) != len(table["rows"]):
            problems.append(f"case {n} {line}: {len(rows)} rows printed, {len(table['rows'])} kept")
        for k, (tokens, row) in enumerate(zip(rows, table["rows"])):
            for j, token in enumerate(tokens):
                compare(f"case {n} {line} row {k + 1} column {j + 1}", token, row[j], problems)

    for p in problems[:40]:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
