#!/usr/bin/env python3
"""Checks the demo game folder: python3 -m unittest discover -s scripts -p 'test_*.py'"""

import hashlib
import os
import re
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "make_demo_game.py")
MIB = 1024 * 1024
KEY = re.compile(r"^[0-9A-F]{32}-[12]$")
STOCK = {"CORE", "ENGINE", "XGAME"}


def make(root):
    return subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)


def tree_digest(root):
    digest = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                digest[os.path.relpath(path, root)] = hashlib.sha256(f.read()).hexdigest()
    return digest


class DemoGameTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory()
        cls.root = os.path.join(cls.temp.name, "game")
        result = make(cls.root)
        assert result.returncode == 0, result.stderr
        with open(os.path.join(cls.root, "Cache", "cache.ini"), "rb") as f:
            cls.index = f.read()
        lines = cls.index.decode("ascii").split("\r\n")
        cls.lines = lines
        cls.entries = [tuple(line.split("=", 1)) for line in lines if "=" in line and not line.startswith(";")]

    @classmethod
    def tearDownClass(cls):
        cls.temp.cleanup()

    def payload(self, key):
        return os.path.join(self.root, "Cache", key + ".uxx")

    def test_index_layout_as_the_game_writes_it(self):
        self.assertEqual(self.lines[0], "[Cache]")
        self.assertTrue(self.lines[1].startswith(";"))
        self.assertEqual(self.lines[2], "")
        self.assertTrue(self.index.endswith(b"\r\n\r\n"), "final empty line")
        self.assertNotIn(b"\n", self.index.replace(b"\r\n", b""), "a line end other than CRLF")
        self.assertNotIn(b"\r", self.index.replace(b"\r\n", b""))

    def test_keys_are_unique_guids_with_a_copy_number(self):
        keys = [key for key, _ in self.entries]
        self.assertGreaterEqual(len(keys), 24)
        self.assertEqual(len(set(keys)), len(keys))
        for key in keys:
            self.assertRegex(key, KEY)
        self.assertTrue(any(key.endswith("-2") for key in keys))
        names = [name for _, name in self.entries]
        self.assertEqual(len(set(names)), len(names), "two entries with one name")

    def test_every_kind_and_map_mode_is_listed(self):
        names = [name for _, name in self.entries]
        extensions = {os.path.splitext(name)[1] for name in names}
        for extension in (".ut2", ".u", ".utx", ".uax", ".ogg", ".usx", ".ka", ".ukx"):
            self.assertIn(extension, extensions)
        self.assertTrue(extensions - {".ut2", ".u", ".utx", ".uax", ".ogg", ".usx", ".ka", ".ukx"},
                        "no package of an unknown kind")
        maps = [name for name in names if name.endswith(".ut2")]
        prefixes = ("ONS-", "CTF-", "BR-", "AS-", "DM-", "DOM-", "TUT-")
        for prefix in prefixes:
            self.assertTrue(any(name.startswith(prefix) for name in maps), prefix)
        self.assertTrue(any(not name.startswith(prefixes) for name in maps), "no map without a mode")

    def test_payload_sizes_are_realistic_and_one_is_missing(self):
        ranges = {".ut2": (1 * MIB, 12 * MIB), ".u": (20 * 1024, 400 * 1024),
                  ".utx": (1 * MIB, 8 * MIB), ".uax": (MIB // 2, 5 * MIB), ".ogg": (MIB // 2, 5 * MIB)}
        missing = []
        total = 0
        for key, name in self.entries:
            if not os.path.exists(self.payload(key)):
                missing.append(name)
                continue
            size = os.path.getsize(self.payload(key))
            total += size
            low, high = ranges.get(os.path.splitext(name)[1], (1, 8 * MIB))
            self.assertTrue(low <= size <= high, "%s is %d bytes" % (name, size))
        self.assertEqual(len(missing), 1, missing)
        self.assertLessEqual(total, 150 * MIB)
        uxx = [f for f in os.listdir(os.path.join(self.root, "Cache")) if f.endswith(".uxx")]
        self.assertEqual(len(uxx), len(self.entries) - 1, "a payload without an entry")

    def test_one_cached_map_is_already_installed(self):
        installed = os.listdir(os.path.join(self.root, "Maps"))
        self.assertEqual(len(installed), 1)
        key = dict((name, key) for key, name in self.entries)[installed[0]]
        with open(self.payload(key), "rb") as cached, \
                open(os.path.join(self.root, "Maps", installed[0]), "rb") as placed:
            self.assertEqual(cached.read(), placed.read())

    def test_system_leaves_exactly_one_package_to_register(self):
        system = os.path.join(self.root, "System")
        files = os.listdir(system)
        packages = [f for f in files if f.endswith(".u")]
        self.assertTrue(any(f.split(".")[0].upper() in STOCK for f in packages))
        unregistered = [f for f in packages if f.split(".")[0].upper() not in STOCK
                        and f.split(".")[0] + ".ucl" not in files]
        registered = [f for f in packages if f.split(".")[0] + ".ucl" in files]
        self.assertEqual(unregistered, ["LooseMut.u"])
        self.assertEqual(registered, ["OldMut.u"])

    def test_all_nine_game_folders_exist(self):
        for folder in ("System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes",
                       "Animations", "KarmaData", "Cache"):
            self.assertTrue(os.path.isdir(os.path.join(self.root, folder)), folder)

    def test_a_second_run_makes_the_same_game(self):
        with tempfile.TemporaryDirectory() as other:
            again = os.path.join(other, "game")
            self.assertEqual(make(again).returncode, 0)
            self.assertEqual(tree_digest(again), tree_digest(self.root))


class ExistingFolderTest(unittest.TestCase):
    def test_an_existing_root_is_left_alone(self):
        with tempfile.TemporaryDirectory() as temp:
            root = os.path.join(temp, "game")
            os.makedirs(root)
            with open(os.path.join(root, "keep.txt"), "w") as f:
                f.write("mine")
            result = make(root)
            self.assertNotEqual(result.returncode, 0)
            self.assertEqual(os.listdir(root), ["keep.txt"])

    def test_a_half_made_game_from_an_interrupted_run_is_replaced(self):
        with tempfile.TemporaryDirectory() as temp:
            root = os.path.join(temp, "game")
            os.makedirs(os.path.join(root + ".partial", "Cache"))
            self.assertEqual(make(root).returncode, 0)
            self.assertFalse(os.path.exists(root + ".partial"))
            self.assertTrue(os.path.isfile(os.path.join(root, "Cache", "cache.ini")))


if __name__ == "__main__":
    unittest.main()
