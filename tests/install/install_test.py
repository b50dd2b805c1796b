#!/usr/bin/python3
"""Installs the build with `cmake --install` into a staging folder (DESTDIR, prefix /usr, as a
packager does), moves the staged tree elsewhere, and checks what a person gets from it.

  install_test.py --build-dir DIR --source-dir DIR --version X.Y.Z --app-id ID --gui 0|1

Moving the tree after the install means that a path remembered from the build tree or from the
staging folder no longer leads anywhere: the installed programs must work from where they are.
Every validator is installed by scripts/packages.txt: a missing one fails its check, never skips it.
"""
import argparse
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

ARGS = None
PREFIX = "/usr"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
# Two lines with curves and straight strokes, a blank and digits: enough to exercise the walk.
SAMPLE_TEXT = b"Kerf 42\r\nSign"


def run(cmd, **kwargs):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=120, **kwargs)


def require_tool(test, program, package):
    """Fails the check when a validator is missing: a skipped check would pass for a fault."""
    if shutil.which(program) is None:
        test.fail(f"{program} is not installed; scripts/packages.txt lists {package}")


class InstalledKerfline(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="kerfline-install-")
        stage = os.path.join(cls.work, "stage")
        r = run(["cmake", "--install", ARGS.build_dir, "--prefix", PREFIX],
                env=dict(os.environ, DESTDIR=stage))
        if r.returncode != 0:
            shutil.rmtree(cls.work, ignore_errors=True)
            raise AssertionError(f"cmake --install failed:\n{r.stdout}{r.stderr}")
        cls.root = os.path.join(cls.work, "moved here")
        os.rename(stage, cls.root)
        cls.prefix = cls.root + PREFIX
        cls.bin = os.path.join(cls.prefix, "bin")
        # The programs run as a fresh user would: none of the tester's own settings.
        home = os.path.join(cls.work, "home")
        os.mkdir(home)
        cls.env = {k: v for k, v in os.environ.items() if not k.startswith("KERFLINE_")}
        cls.env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                       LC_ALL="C.UTF-8")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def installed(self, relative):
        return os.path.join(self.prefix, relative)

    def expected_files(self):
        files = [
            "bin/kerfline-convert",
            "share/kerfline/KerflineHelp.Htm",
            "share/man/man1/kerfline-convert.1.gz",
            "share/doc/kerfline/copyright",
            "share/doc/kerfline/changelog.gz",
        ]
        if ARGS.gui:
            app = ARGS.app_id
            files += [
                "bin/kerfline",
                "share/man/man1/kerfline.1.gz",
                f"share/applications/{app}.desktop",
                f"share/metainfo/{app}.metainfo.xml",
                f"share/icons/hicolor/scalable/apps/{app}.svg",
            ]
            files += [f"share/icons/hicolor/{n}x{n}/apps/{app}.png" for n in ICON_SIZES]
        return files

    def write_sample(self, folder, name):
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(SAMPLE_TEXT)
        return path

    def programs(self):
        return ["kerfline-convert"] + (["kerfline"] if ARGS.gui else [])

    def write_settings_beside_the_programs(self):
        path = os.path.join(self.bin, "Reg.ini")
        with open(path, "wb") as f:
            f.write(b"[Layer]\r\nLayer=CUT\r\nZup=3.00\r\nZdown=-0.50\r\n")
        self.addCleanup(os.remove, path)

    # --- the layout -------------------------------------------------------------------------

    def test_every_file_is_in_its_place(self):
        for relative in self.expected_files():
            with self.subTest(file=relative):
                self.assertTrue(os.path.isfile(self.installed(relative)), relative)
        programs = self.programs()
        for program in programs:
            self.assertTrue(os.access(os.path.join(self.bin, program), os.X_OK), program)
        # bin/ holds the programs and nothing else (the help page belongs below share/).
        self.assertEqual(sorted(os.listdir(self.bin)), sorted(programs))

    def test_programs_search_no_library_path_of_their_own(self):
        # Our libraries are linked in statically: an RPATH or RUNPATH could only point into the
        # build tree or at a folder of the prefix that nobody installs libraries into.
        require_tool(self, "readelf", "binutils")
        for program in self.programs():
            r = run(["readelf", "--dynamic", os.path.join(self.bin, program)])
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertNotRegex(r.stdout, r"\((RPATH|RUNPATH)\)", program)

    def test_icons_are_drawn_at_the_size_their_folder_names(self):
        if not ARGS.gui:
            self.skipTest("built without the window")
        for n in ICON_SIZES:
            path = self.installed(f"share/icons/hicolor/{n}x{n}/apps/{ARGS.app_id}.png")
            with self.subTest(size=n):
                with open(path, "rb") as f:
                    head = f.read(24)
                self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
                self.assertEqual(head[12:16], b"IHDR")
                self.assertEqual(struct.unpack(">II", head[16:24]), (n, n))
        svg = ET.parse(self.installed(f"share/icons/hicolor/scalable/apps/{ARGS.app_id}.svg"))
        self.assertEqual(svg.getroot().tag, "{http://www.w3.org/2000/svg}svg")

    # --- the installed programs -------------------------------------------------------------

    def test_installed_converter_reads_its_own_settings_and_writes_a_sound_drawing(self):
        self.write_settings_beside_the_programs()
        folder = os.path.join(self.work, "job one")
        sample = self.write_sample(folder, "sign.txt")
        r = run([os.path.join(self.bin, "kerfline-convert"), "--report", sample],
                cwd=folder, env=self.env)
        self.assertEqual(r.returncode, 0, r.stderr)
        output = os.path.join(folder, "sign.DXF")
        self.assertIn(f"Wrote {output}", r.stdout)
        self.assertIn(f"(settings from {os.path.join(self.bin, 'Reg.ini')})", r.stdout)
        # Read back by an independent reader: layer and Z values are those of the settings
        # beside the installed program, so nothing came from the build tree.
        check = run(["/usr/bin/python3", os.path.join(ARGS.source_dir, "tests/e2e/check_dxf.py"),
                     output, "--mode", "lines", "--layer", "CUT", "--zlevel", "-0.50",
                     "--zmove", "3.00"])
        self.assertEqual(check.returncode, 0, check.stderr)
        strokes = int(re.search(r"^strokes (\d+)$", check.stdout, re.M).group(1))
        self.assertGreater(strokes, 100)

    def test_installed_window_starts_and_writes_what_the_converter_writes(self):
        if not ARGS.gui:
            self.skipTest("built without the window")
        self.write_settings_beside_the_programs()
        folder = os.path.join(self.work, "job two")
        by_converter = self.write_sample(folder, "a.txt")
        by_window = self.write_sample(folder, "b.txt")
        r = run([os.path.join(self.bin, "kerfline-convert"), by_converter], cwd=folder,
                env=self.env)
        self.assertEqual(r.returncode, 0, r.stderr)
        # With arguments the window converts after its start-up delay and closes by itself.
        env = dict(self.env, QT_QPA_PLATFORM="offscreen", KERFLINE_AUTOCLOSE_MESSAGES="1")
        r = run([os.path.join(self.bin, "kerfline"), by_window], cwd=folder, env=env)
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(os.path.join(folder, "a.DXF"), "rb") as a, \
                open(os.path.join(folder, "b.DXF"), "rb") as b:
            self.assertEqual(a.read(), b.read())

    # --- the desktop files ------------------------------------------------------------------

    def test_desktop_entry_is_valid_and_names_what_is_installed(self):
        if not ARGS.gui:
            self.skipTest("built without the window")
        path = self.installed(f"share/applications/{ARGS.app_id}.desktop")
        with open(path, encoding="utf-8") as f:
            entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertTrue(os.path.isfile(os.path.join(self.bin, entry["Exec"].split()[0])))
        self.assertEqual(entry["Icon"], ARGS.app_id)
        require_tool(self, "desktop-file-validate", "desktop-file-utils")
        r = run(["desktop-file-validate", path])
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        # Hints are advice; warnings and errors are faults.
        self.assertNotRegex(r.stdout + r.stderr, r"(warning|error):")

    def test_appstream_metadata_is_valid_and_matches_the_program(self):
        if not ARGS.gui:
            self.skipTest("built without the window")
        path = self.installed(f"share/metainfo/{ARGS.app_id}.metainfo.xml")
        component = ET.parse(path).getroot()
        self.assertEqual(component.findtext("id"), ARGS.app_id)
        self.assertEqual(component.findtext("launchable"), f"{ARGS.app_id}.desktop")
        for binary in component.iter("binary"):
            self.assertTrue(os.path.isfile(os.path.join(self.bin, binary.text)), binary.text)
        # The newest release is listed first and must be the version being installed.
        self.assertEqual(component.find("releases/release").get("version"), ARGS.version)
        require_tool(self, "appstreamcli", "appstream")
        r = run(["appstreamcli", "validate", "--no-net", path])
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertNotRegex(r.stdout, r"(?m)^[EW]:")

    # --- the manual pages -------------------------------------------------------------------

    def manual_pages(self):
        return [p for p in self.expected_files() if p.startswith("share/man/")]

    def test_manual_pages_render_without_warnings(self):
        require_tool(self, "man", "man-db")
        env = dict(self.env, MANWIDTH="80", MANROFFSEQ="")
        for page in self.manual_pages():
            with self.subTest(page=page):
                path = self.installed(page)
                # The check Debian's lintian makes: groff's warnings, output thrown away.
                r = run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", path],
                        env=env)
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertEqual(r.stderr, "")
                r = run(["man", "-l", path], env=env)
                self.assertEqual(r.returncode, 0, r.stderr)
                name = os.path.basename(page)[:-len(".1.gz")]
                self.assertRegex(r.stdout, rf"(?m)^NAME\n\s+{re.escape(name)}\s+-\s")

    def test_converter_manual_page_and_help_name_the_same_options(self):
        r = run([os.path.join(self.bin, "kerfline-convert"), "--help"], env=self.env)
        self.assertEqual(r.returncode, 0, r.stderr)
        in_help = options_named_in(r.stdout)
        self.assertIn("--help", in_help)
        with gzip.open(self.installed("share/man/man1/kerfline-convert.1.gz"), "rt") as f:
            source = f.read()
        # troff writes a minus as \- and switches fonts with \fB, \fI, \fR.
        in_page = options_named_in(re.sub(r"\\f[BIRP]", "", source).replace("\\-", "-"))
        self.assertEqual(sorted(in_help - in_page), [], "options missing from the manual page")
        self.assertEqual(sorted(in_page - in_help), [], "options the program does not know")


def options_named_in(text):
    """Every -x and --long-name in a text; not the minus of a number or of a word like 3-D."""
    return set(re.findall(r"(?<![\w-])(--[a-z][a-z-]*[a-z]|-[a-zA-Z])(?![\w-])", text))


def main():
    global ARGS
    p = argparse.ArgumentParser()
    p.add_argument("--build-dir", required=True)
    p.add_argument("--source-dir", required=True)
    p.add_argument("--version", required=True)
    p.add_argument("--app-id", required=True)
    p.add_argument("--gui", type=int, choices=[0, 1], required=True)
    ARGS, rest = p.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
