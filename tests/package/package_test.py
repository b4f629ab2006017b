#!/usr/bin/python3
"""The Debian packages as an administrator and an engineer meet them.

Builds kolmar_<version>_<arch>.deb (and python3-kolmar's, when the build has the Python
package) with CPack from the already-built tree into a temporary folder, then: the files the
packages hold, a run of an installed example by the runner unpacked under a temporary root,
`kolmar --version` against the package's version, `make install DESTDIR=...` against the
packages' file lists, the control archive (no maintainer scripts), the desktop entry, the
MIME type and the icons, the manual pages (`man --warnings`) and lintian.

    package_test.py SOURCE_DIR BUILD_DIR PYTHON(0|1)
"""

import json
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

SOURCE = pathlib.Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else None
BUILD = pathlib.Path(sys.argv[2]).resolve() if len(sys.argv) > 2 else None
WITH_PYTHON = len(sys.argv) > 3 and sys.argv[3] == "1"
EXAMPLE = "sand-water-table.kx8d"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
# What running an example in place leaves in examples/; the package does not carry it.
LEFTOVERS = re.compile(r"\.(kx8o|kx8r|kx8p|kx8z|bak|pyc)$|\.results\.json$|^names\.dat$")


def run(cmd, check=True, **kwargs):
    """Runs cmd with its output captured as text; a failure shows the command and its output."""
    done = subprocess.run(cmd, capture_output=True, text=True, **kwargs)
    if check and done.returncode != 0:
        raise AssertionError(
            f"{' '.join(map(str, cmd))} exited {done.returncode}\n{done.stdout}\n{done.stderr}")
    return done


def deb_entries(deb):
    """The paths a package installs, as dpkg-deb -c lists them ('./usr/bin/kolmar'), folders
    with a trailing '/' as listed."""
    entries = set()
    for line in run(["dpkg-deb", "-c", deb]).stdout.splitlines():
        path = line.split(None, 5)[5].split(" -> ")[0]
        entries.add(path)
    return entries


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG file"
    return struct.unpack(">II", head[16:24])


class Packages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = pathlib.Path(tempfile.mkdtemp(prefix="kolmar-package-"))
        cls.tmp.chmod(0o755)  # lintian may run as another user, below
        out = cls.tmp / "debs"
        run(["cpack", "-G", "DEB", "--config", BUILD / "CPackConfig.cmake", "-B", out])
        debs = sorted(out.glob("*.deb"))
        names = {d.name.split("_")[0]: d for d in debs}
        cls.deb = names.get("kolmar")
        cls.python_deb = names.get("python3-kolmar")
        assert cls.deb, f"no kolmar package among {[d.name for d in debs]}"
        cls.version = run(["dpkg-deb", "-f", cls.deb, "Version"]).stdout.strip()
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        assert cls.deb.name == f"kolmar_{cls.version}_{arch}.deb", cls.deb.name
        cls.root = cls.tmp / "root"
        for deb in debs:
            run(["dpkg-deb", "-x", deb, cls.root])
        cls.usr = cls.root / "usr"

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def all_debs(self):
        return [self.deb] + ([self.python_deb] if self.python_deb else [])

    def test_python_package_built_with_the_python_module(self):
        self.assertEqual(self.python_deb is not None, WITH_PYTHON)

    def test_files_in_their_places(self):
        entries = deb_entries(self.deb)
        expected = [
            "./usr/bin/kolmar", "./usr/bin/kolmar-export", "./usr/bin/kolmar2017",
            "./usr/bin/kolmar-paint", "./usr/share/man/man1/kolmar-export.1.gz",
            "./usr/lib/kolmar/libKolmar2017_DLL.so",
            "./usr/share/kolmar/doc/users-guide.md", "./usr/share/kolmar/doc/technical-manual.md",
            "./usr/share/doc/kolmar/copyright", "./usr/share/doc/kolmar/changelog.gz",
            "./usr/share/applications/kolmar2017.desktop",
            "./usr/share/mime/packages/kolmar.xml",
            "./usr/share/icons/hicolor/scalable/apps/kolmar2017.svg",
            "./usr/share/man/man1/kolmar.1.gz", "./usr/share/man/man1/kolmar2017.1.gz",
        ] + [f"./usr/share/icons/hicolor/{n}x{n}/apps/kolmar2017.png" for n in ICON_SIZES]
        # Every example and every manual of the sources, new ones included; the Python studies
        # are in the Python package.
        examples = SOURCE / "examples"
        python_examples = []
        for f in examples.rglob("*"):
            if f.is_file() and not LEFTOVERS.search(f.name) and "__pycache__" not in f.parts:
                path = "./usr/share/kolmar/examples/" + f.relative_to(examples).as_posix()
                (python_examples if f.parts[len(examples.parts)] == "python" else expected).append(path)
        expected += [f"./usr/share/kolmar/doc/{f.name}" for f in (SOURCE / "docs").glob("*.md")]
        for path in expected:
            self.assertIn(path, entries)
        for deb in self.all_debs():
            for path in deb_entries(deb):
                self.assertTrue(path == "./" or path.startswith("./usr/"), f"{deb.name}: {path}")
        # Nothing of the build tree is left in the installed programs' search path.
        self.assertFalse((self.usr / "bin" / "libKolmar2017_DLL.so").exists())
        if self.python_deb:
            module = "./usr/lib/python3/dist-packages/kolmar/"
            python_entries = deb_entries(self.python_deb)
            for name in ("__init__.py", "__init__.pyi", "py.typed", "libKolmar2017_DLL.so"):
                self.assertIn(module + name, python_entries)
            self.assertTrue(any(re.match(re.escape(module) + r"_kolmar\..*\.so$", p)
                                for p in python_entries))
            self.assertIn("./usr/share/doc/python3-kolmar/copyright", python_entries)
            for path in python_examples:
                self.assertIn(path, python_entries)

    def test_depends(self):
        depends = run(["dpkg-deb", "-f", self.deb, "Depends"]).stdout.strip()
        for needed in ("libc6", "libstdc++6", "libqt6widgets6", "fonts-dejavu-core"):
            self.assertRegex(depends, rf"(^|, ){re.escape(needed)}\b", depends)
        if self.python_deb:
            depends = run(["dpkg-deb", "-f", self.python_deb, "Depends"]).stdout.strip()
            for needed in ("python3", "python3-numpy", "libc6"):
                self.assertRegex(depends, rf"(^|, ){re.escape(needed)}\b", depends)

    def test_installed_runner_analyses_an_installed_example(self):
        work = self.tmp / "work"
        work.mkdir()
        shutil.copy(self.usr / "share/kolmar/examples" / EXAMPLE, work)
        project = work / EXAMPLE
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
        # The engine is found in ../lib/kolmar/, as in the installed system.
        done = run([self.usr / "bin/kolmar", "run", project], check=False, env=env)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        base = project.with_suffix("")
        for ext in (".kx8o", ".kx8r", ".kx8p", ".kx8z", ".results.json"):
            path = pathlib.Path(str(base) + ext)
            self.assertTrue(path.is_file() and path.stat().st_size > 0, path)
        report = pathlib.Path(str(base) + ".kx8o").read_text(encoding="latin-1")
        self.assertIn(f"Version {self.version}", report)
        results = json.loads(pathlib.Path(str(base) + ".results.json").read_text())
        self.assertEqual(results["status"]["code"], 0)
        # The picture companion, from the same bin/, draws a result graph.
        picture = work / "capacity.png"
        run([self.usr / "bin/kolmar", "plot", project, "--graph", "pltTotal", "-o", picture],
            env=env)
        self.assertGreater(png_size(picture)[0], 0)
        # Without the engine in either place the runner says it cannot load it.
        engine = self.usr / "lib/kolmar/libKolmar2017_DLL.so"
        moved = self.tmp / "engine.so"
        engine.rename(moved)
        try:
            done = run([self.usr / "bin/kolmar", "run", project], check=False, env=env)
        finally:
            moved.rename(engine)
        self.assertEqual(done.returncode, 69, done.stdout + done.stderr)

    def test_installed_python_module_runs_an_example(self):
        if not self.python_deb:
            self.skipTest("built without the Python package")
        site = self.usr / "lib/python3/dist-packages"
        script = (
            "import sys, kolmar\n"
            "assert kolmar.__file__.startswith(sys.argv[1]), kolmar.__file__\n"
            "r = kolmar.Project.load(sys.argv[2]).run()\n"
            "print(len(r.cases[0].capacity.QU))\n")
        done = run(["/usr/bin/python3", "-c", script, str(site),
                    str(self.usr / "share/kolmar/examples" / EXAMPLE)],
                   env=dict(os.environ, PYTHONPATH=str(site)), cwd=self.tmp)
        self.assertGreater(int(done.stdout.strip()), 0)

    def test_version_is_the_packages(self):
        done = run([self.usr / "bin/kolmar", "--version"])
        self.assertEqual(done.stdout.strip(), f"kolmar {self.version}")

    def test_make_install_installs_what_the_packages_hold(self):
        destdir = self.tmp / "destdir"
        run(["make", "-C", SOURCE, "-o", "deps", "-o", "build", "install",
             f"BUILD={BUILD}", "PREFIX=/usr", f"DESTDIR={destdir}"])
        installed = set()
        for path in destdir.rglob("*"):
            rel = "./" + path.relative_to(destdir).as_posix()
            installed.add(rel + "/" if path.is_dir() and not path.is_symlink() else rel)
        packaged = set().union(*(deb_entries(d) for d in self.all_debs()))
        self.assertEqual(sorted(installed - packaged), [], "installed but not packaged")
        self.assertEqual(sorted(packaged - installed), [], "packaged but not installed")

    def test_no_maintainer_scripts(self):
        # The menu, MIME and icon caches are refreshed by the triggers of the packages that own
        # them; the packages themselves run nothing when installed or removed.
        allowed = {"control", "md5sums", "shlibs", "triggers"}
        for deb in self.all_debs():
            info = run(["dpkg-deb", "-I", deb]).stdout
            members = re.findall(r"^\s+\d+ bytes,\s+\d+ lines\s+\*?\s*(\S+)", info, re.M)
            self.assertIn("control", members, info)
            self.assertEqual(sorted(set(members) - allowed), [], info)

    def test_desktop_entry_mime_type_and_icons(self):
        desktop = self.usr / "share/applications/kolmar2017.desktop"
        done = run(["desktop-file-validate", desktop], check=False)
        self.assertEqual((done.returncode, done.stdout + done.stderr), (0, ""))
        entry = dict(line.split("=", 1) for line in desktop.read_text().splitlines() if "=" in line)
        self.assertTrue((self.usr / "bin" / entry["Exec"].split()[0]).is_file())
        mime = ET.parse(self.usr / "share/mime/packages/kolmar.xml").getroot()
        ns = "{http://www.freedesktop.org/standards/shared-mime-info}"
        types = mime.findall(ns + "mime-type")
        self.assertEqual([t.get("type") for t in types], [entry["MimeType"].rstrip(";")])
        self.assertEqual(sorted(g.get("pattern") for g in types[0].findall(ns + "glob")),
                         ["*.kx8d", "*.kxd"])
        self.assertEqual(types[0].findall(ns + "magic"), [])
        icons = self.usr / "share/icons/hicolor"
        self.assertTrue((icons / "scalable/apps" / (entry["Icon"] + ".svg")).is_file())
        for n in ICON_SIZES:
            self.assertEqual(png_size(icons / f"{n}x{n}/apps" / (entry["Icon"] + ".png")), (n, n))

    def test_manual_pages(self):
        pages = sorted((self.usr / "share/man/man1").glob("*.1.gz"))
        self.assertGreaterEqual(len(pages), 2)
        for page in pages:
            done = run(["man", "--warnings", "-l", page], check=False,
                       env=dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8"))
            self.assertEqual((done.returncode, done.stderr), (0, ""), page.name)
            self.assertIn("SYNOPSIS", done.stdout, page.name)

    def test_lintian_finds_no_error(self):
        cmd = ["lintian", "--fail-on", "error", "--tag-display-limit", "0"]
        env = dict(os.environ)
        if os.geteuid() == 0:
            # lintian warns against root and unpacks untrusted archives: as root (CI runs the
            # tests so) it runs as nobody, with a home of its own.
            home = self.tmp / "lintian-home"
            home.mkdir()
            shutil.chown(home, "nobody")
            env["HOME"] = str(home)
            cmd = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] + cmd
        debs = self.tmp / "debs"
        for deb in self.all_debs():
            deb.chmod(0o644)
        debs.chmod(0o755)
        done = run(cmd + self.all_debs(), check=False, env=env, cwd=self.tmp)
        print(done.stdout + done.stderr, file=sys.stderr)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
