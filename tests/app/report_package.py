#!/usr/bin/env python3
"""The calculation package of `kolmar report`, read back as a reader would: the PDF's text
(pdftotext), its pages (pdfinfo), its figure page as pixels (pdftoppm), and the HTML through
tidy. Every example is packaged, and a dense gravel whose report carries a warning block.

Usage: report_package.py KOLMAR EXAMPLES_DIR FIXTURE_DIR"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

KOLMAR, EXAMPLES, FIXTURES = sys.argv[1:4]
del sys.argv[1:4]


def run(*args, check=True):
    p = subprocess.run(list(args), capture_output=True, text=True)
    if check and p.returncode != 0:
        raise AssertionError(f"{args} exited {p.returncode}:\n{p.stdout}\n{p.stderr}")
    return p


def pdf_pages(pdf):
    info = run("pdfinfo", pdf).stdout
    pages = int(re.search(r"Pages:\s+(\d+)", info).group(1))
    size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+) pts", info)
    return pages, (round(float(size.group(1))), round(float(size.group(2))))


def page_text(pdf, first=None, last=None, layout=True):
    args = ["pdftotext"] + (["-layout"] if layout else [])
    if first:
        args += ["-f", str(first), "-l", str(last or first)]
    return run(*args, pdf, "-").stdout


def printed(x, si):
    """A capacity-table number as the report prints it: two decimals in SI, one in English."""
    return f"{x:.2f}" if si else f"{x:.1f}"


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="kolmar-report-")
        cls.projects = []
        for folder in (EXAMPLES, FIXTURES):
            for name in sorted(os.listdir(folder)):
                if name.endswith(".kx8d"):
                    shutil.copy(os.path.join(folder, name), cls.dir)
                    cls.projects.append(os.path.join(cls.dir, name[:-5]))
        # --run runs each project first, so that the package starts from a fresh run.
        for p in cls.projects:
            run(KOLMAR, "report", p + ".kx8d", "--run", "-o", p + ".pdf",
                "--prepared-by", "A. Engineer")
            run(KOLMAR, "report", p + ".kx8d", "-o", p + ".html")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def results(self, p):
        with open(p + ".results.json") as f:
            return json.load(f)

    def test_pdf_shows_title_design_row_and_page_frame(self):
        for p in self.projects:
            with self.subTest(project=os.path.basename(p)):
                pages, _ = pdf_pages(p + ".pdf")
                self.assertGreaterEqual(pages, 3)
                text = page_text(p + ".pdf")
                flat = page_text(p + ".pdf", layout=False)
                r = self.results(p)
                self.assertIn(r["input"]["title"], flat)
                self.assertIn("A. Engineer", flat)
                d = r["cases"][0]["design"]
                si = r["input"]["unit_system"] == "SI"
                row = [printed(d[k], si) for k in ("L", "QS", "QB", "QU")]
                # The report prints the design row with the same digits ...
                with open(p + ".kx8o") as f:
                    report = f.read()
                self.assertRegex(report, r"\s+".join(map(re.escape, [row[0]])) + r"\s+[\d.]+\s+" +
                                 r"\s+".join(map(re.escape, row[1:])))
                # ... and the package shows them in one row of its results table.
                self.assertRegex(text, r"\s+".join(map(re.escape, row)))
                last = page_text(p + ".pdf", pages)
                self.assertIn(f"Page {pages} of {pages}", last)
                self.assertIn(os.path.basename(p) + ".kx8d", last)

    def test_method_summary_covers_every_layer_method(self):
        # The HTML keeps the table's rows; the PDF is laid out from the same blocks.
        for p in self.projects:
            with self.subTest(project=os.path.basename(p)):
                with open(p + ".html") as f:
                    html = f.read()
                summary = html[html.index("Method summary"):html.index("Results at the design")]
                for layer in self.results(p)["input"]["layers"]:
                    # A row with its formulas and its published source.
                    self.assertRegex(summary, "<td>" + re.escape(layer["material"]) +
                                     "</td><td>" + re.escape(layer["method"]) +
                                     r"</td><td>[^<]*(fs|f) = [^<]+</td><td>[^<]*\(\d{4}\)")

    def test_per_layer_side_resistances_sum_to_qs(self):
        for p in self.projects:
            with self.subTest(project=os.path.basename(p)):
                text = page_text(p + ".pdf")
                table = text[text.index("Side resistance per layer"):text.index("Base: layer")]
                shares = []
                for line in table.splitlines():
                    cells = line.split()
                    if len(cells) == 10 and re.fullmatch(r"\d+", cells[0]):
                        shares.append(float(cells[7]))
                r = self.results(p)
                layers = r["cases"][0]["layer_resistance"]["rows"]
                self.assertEqual(len(shares), len(layers))
                qs = r["cases"][0]["design"]["QS"]
                # Each printed value is rounded to 0.05 at most.
                self.assertAlmostEqual(sum(shares), qs, delta=0.05 * len(shares) + 0.05)
                self.assertGreater(len(shares), 0)

    def test_warning_block_verbatim(self):
        p = os.path.join(self.dir, "gravel-dense")
        flat = " ".join(page_text(p + ".pdf", layout=False).split())
        for line in ("UNIT TIP RESISTANCE IS LIMITED TO 30 TSF IF SPT-N IS OVER 50",
                     "LOADING TEST IS RECOMMENDED FOR USING HIGHER VALUE."):
            self.assertIn(line, flat)
        with open(p + ".html") as f:
            self.assertIn("UNIT TIP RESISTANCE IS LIMITED TO 30 TSF IF SPT-N IS OVER 50", f.read())

    def test_html_is_clean_and_self_contained(self):
        for p in self.projects:
            with self.subTest(project=os.path.basename(p)):
                tidy = run("tidy", "-errors", "-quiet", p + ".html", check=False)
                self.assertLess(tidy.returncode, 2, tidy.stderr)
                with open(p + ".html") as f:
                    html = f.read()
                self.assertNotIn("http", html)
                self.assertIn("<svg", html)
                self.assertIn(self.results(p)["input"]["title"], html)

    def test_bidirectional_section_when_the_setup_defines_a_cell(self):
        p = os.path.join(self.dir, "sand-water-table")
        with open(p + ".html") as f:
            self.assertNotIn("Simulated bidirectional load test", f.read())
        setup = p + ".bidir.json"
        try:
            with open(setup, "w") as f:
                json.dump({"units": "English", "cell_depth": 20, "cell_capacity": 400}, f)
            run(KOLMAR, "report", p + ".kx8d", "-o", p + "-bidir.pdf")
            run(KOLMAR, "report", p + ".kx8d", "-o", p + "-bidir.html")
            flat = " ".join(page_text(p + "-bidir.pdf", layout=False).split())
            for text in ("Simulated bidirectional load test", "Cell depth (element boundary) 20.00 ft",
                         "Balance depth (nearest foot) 38 ft", "Placing the cell",
                         "Equivalent top-down curve"):
                self.assertIn(text, flat)
            with open(p + "-bidir.html") as f:
                html = f.read()
            with open(p + ".html") as f:
                self.assertEqual(html.count("<svg"), f.read().count("<svg") + 3)
            # A rock tip: the section says why there is no test.
            rock = os.path.join(self.dir, "strong-rock-socket")
            with open(rock + ".bidir.json", "w") as f:
                json.dump({"units": "English", "cell_depth": 10, "cell_capacity": None}, f)
            run(KOLMAR, "report", rock + ".kx8d", "-o", rock + "-bidir.html")
            with open(rock + "-bidir.html") as f:
                self.assertIn("lies in layer 2 (strong rock", f.read())
        finally:
            for leftover in (setup, os.path.join(self.dir, "strong-rock-socket.bidir.json")):
                if os.path.exists(leftover):
                    os.remove(leftover)

    def test_paper_follows_units_unless_asked(self):
        letter, a4 = (612, 792), (595, 842)
        en = os.path.join(self.dir, "clay-bell")
        si = os.path.join(self.dir, "si-dense-sand")
        self.assertEqual(pdf_pages(en + ".pdf")[1], letter)
        self.assertEqual(pdf_pages(si + ".pdf")[1], a4)
        run(KOLMAR, "report", en + ".kx8d", "--paper", "a4", "-o", en + "-a4.pdf")
        self.assertEqual(pdf_pages(en + "-a4.pdf")[1], a4)

    def test_out_of_date_results_are_refused_unless_run(self):
        p = os.path.join(self.dir, "sand-water-table")
        out = os.path.join(self.dir, "stale.pdf")
        results = os.stat(p + ".results.json")
        # Other bytes with the old time: the input hash tells.
        with open(p + ".kx8d", "a") as f:
            f.write("\n")
        os.utime(p + ".kx8d", ns=(results.st_atime_ns, results.st_mtime_ns - 10**9))
        r = run(KOLMAR, "report", p + ".kx8d", "-o", out, check=False)
        self.assertEqual(r.returncode, 65, r.stderr)
        self.assertIn(p + ".results.json", r.stderr)
        self.assertIn(p + ".kx8d", r.stderr)
        self.assertFalse(os.path.exists(out))
        # A project newer than its results: the results file set back before it.
        run(KOLMAR, "run", p + ".kx8d")
        project = os.stat(p + ".kx8d").st_mtime_ns
        os.utime(p + ".results.json", ns=(project - 10**10, project - 10**10))
        r = run(KOLMAR, "report", p + ".kx8d", "-o", out, check=False)
        self.assertEqual(r.returncode, 65, r.stderr)
        self.assertIn("older than", r.stderr)
        run(KOLMAR, "report", p + ".kx8d", "--run", "-o", out)
        self.assertTrue(os.path.exists(out))

    def test_damaged_results_files(self):
        import hashlib
        src = os.path.join(self.dir, "decomposed-rock")
        with open(src + ".kx8d", "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        cases = [
            ("not JSON", "{\"schema\": ", 65, "cannot be read"),
            ("another schema", json.dumps({"schema": "other/1", "input": {"sha256": digest}}),
             65, "not a kolmar-results/1 or kolmar-results/2 file"),
            # A case that names a capacity table the file does not hold.
            ("bad table place", json.dumps({"schema": "kolmar-results/2",
                                            "input": {"sha256": digest, "title": "T"},
                                            "capacity_tables": [{"columns": [], "rows": []}],
                                            "cases": [{"capacity_table": 0},
                                                      {"capacity_table": 1}]}),
             65, "case 2: capacity_table 1 names no table (the file has 1 capacity table)"),
            # Nothing but the head: a package of what there is, without a crash.
            ("head only", json.dumps({"schema": "kolmar-results/1",
                                      "input": {"sha256": digest, "title": "T"},
                                      "cases": [{"design": None, "base": "x"}],
                                      "messages": [{"text": 5}]}), 0, "Wrote"),
        ]
        for name, text, status, said in cases:
            with self.subTest(name=name):
                work = os.path.join(self.dir, "damaged")
                os.makedirs(work, exist_ok=True)
                p = os.path.join(work, "decomposed-rock")
                for ext in (".kx8d", ".kx8o", ".kx8r", ".kx8p", ".kx8z"):
                    shutil.copy2(src + ext, p + ext)
                with open(p + ".results.json", "w") as f:
                    f.write(text)
                r = run(KOLMAR, "report", p + ".kx8d", "-o", p + ".html", check=False)
                self.assertEqual(r.returncode, status, r.stderr)
                self.assertIn(said, r.stdout + r.stderr)
                if status == 0:
                    with open(p + ".html") as f:
                        html = f.read()
                    for word in ("nan", "inf"):
                        self.assertIsNone(re.search(r"\b" + word + r"\b", html), word)

    def test_bad_command_lines(self):
        p = os.path.join(self.dir, "clay-bell.kx8d")
        for args, why in [((p,), "no package file given"),
                          ((p, "-o", "x.txt"), "must end in .pdf or .html"),
                          ((p, "-o", "x.pdf", "--paper", "a3"), "unknown paper 'a3'"),
                          ((p, "-o", "x.pdf", "--graphs", "pltNone"), "unknown graph 'pltNone'"),
                          (("-o", "x.pdf"), "no project given")]:
            with self.subTest(args=args):
                r = run(KOLMAR, "report", *args, check=False)
                self.assertEqual(r.returncode, 64)
                self.assertIn(why, r.stderr)

    def test_figure_page_shows_every_curve_inside_the_axes(self):
        p = os.path.join(self.dir, "sand-over-clay")
        pages, _ = pdf_pages(p + ".pdf")
        figure_page = next(n for n in range(1, pages + 1)
                           if "Figure 1." in page_text(p + ".pdf", n))
        ppm = os.path.join(self.dir, "figure")
        run("pdftoppm", "-r", "60", "-f", str(figure_page), "-l", str(figure_page), p + ".pdf",
            ppm)
        name = next(f for f in os.listdir(self.dir) if f.startswith("figure") and
                    f.endswith(".ppm"))
        with open(os.path.join(self.dir, name), "rb") as f:
            data = f.read()
        head = data.split(b"\n", 3)
        width, height = map(int, head[1].split())
        pixels = head[3]

        def at(x, y):
            i = 3 * (y * width + x)
            return pixels[i], pixels[i + 1], pixels[i + 2]

        black = ("black", lambda r, g, b: r < 40 and g < 40 and b < 40)
        blue = ("blue", lambda r, g, b: b > 180 and r < 90 and g < 90)
        red = ("red", lambda r, g, b: r > 180 and g < 90 and b < 90)
        # Loads at the chart settlements, marked on the load-settlement figure.
        orange = ("dark orange", lambda r, g, b: r > 160 and 70 < g < 140 and b < 60)
        # Figure 1 in the upper half of the page, Figure 2 in the lower; the axes box of each is
        # where its grid's grey lies.
        for rows, colours in [(range(0, height // 2), [black, blue, red]),
                              (range(height // 2, height), [black, blue, red, orange])]:
            grey = [(x, y) for y in rows for x in range(width)
                    if all(abs(c - 96) < 30 for c in at(x, y))]
            self.assertTrue(grey)
            x0, x1 = min(x for x, _ in grey) + 2, max(x for x, _ in grey) - 2
            y0, y1 = min(y for _, y in grey) + 2, max(y for _, y in grey) - 2
            inside = [at(x, y) for y in range(y0, y1) for x in range(x0, x1)]
            for name, test in colours:
                self.assertGreater(sum(1 for c in inside if test(*c)), 5, name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
