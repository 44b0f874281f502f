#!/usr/bin/env python3
"""Creates a demo game folder: python3 scripts/make_demo_game.py ROOT

ROOT gets the nine game folders, a few stock-named code packages in System, and a download
cache as the game leaves it: Cache/cache.ini (CRLF line ends, a comment, a blank line, a final
empty line) and one GUID-named payload per entry. The content is the same on every run.

What the demo shows:
  - every kind of package, and each map game-mode prefix, in the list;
  - sizes in bytes, KB and MB, and "-1 bytes" for the entry whose payload is missing;
  - one map that is already in Maps (its row may show the unlit bulb);
  - in System, stock packages, a registered package (with its .ucl) and an unregistered one,
    so that "Register uninstalled mutators" has exactly one package to register.

ROOT must not exist yet; the folder is built beside it and renamed into place when complete,
so an interrupted run never leaves a half-made game behind.
"""

import os
import random
import shutil
import sys

SEED = 2004
KIB = 1024
MIB = 1024 * 1024

GAME_FOLDERS = ["System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes",
                "Animations", "KarmaData", "Cache"]

# Sizes in bytes by kind, as (smallest, largest).
SIZE_RANGES = {
    ".ut2": (1 * MIB, 12 * MIB),
    ".u": (20 * KIB, 400 * KIB),
    ".utx": (1 * MIB, 8 * MIB),
    ".uax": (MIB // 2, 5 * MIB),
    ".ogg": (MIB // 2, 5 * MIB),
    ".usx": (1 * MIB, 6 * MIB),
    ".ka": (40 * KIB, 300 * KIB),
    ".ukx": (1 * MIB, 4 * MIB),
    ".txt": (300, 1000),
}

# The cached packages, in index order.
CACHED_PACKAGES = [
    "ONS-Ridgeline.ut2",
    "RidgelineTex.utx",
    "RidgelineMeshes.usx",
    "Ridgeline-Theme.ogg",
    "CTF-Glacier-Outpost.ut2",
    "GlacierTex.utx",
    "MutUltraSpeed.u",
    "DM-Rankin.ut2",
    "DM-Foundry-Deep.ut2",
    "FoundryTextures.utx",
    "FoundrySounds.uax",
    "BR-Cloudworks.ut2",
    "MutLowGravPlus.u",
    "AS-Harbour-Siege.ut2",
    "HarbourTex.utx",
    "HarbourCranes.usx",
    "HarbourAmbience.uax",
    "DOM-Lighthouse.ut2",
    "LighthouseLoop.ogg",
    "TUT-Warmup.ut2",
    "ONS-Dunewalker.ut2",
    "HeadshotMeter.u",
    "TeamBalanceFix.u",
    "CTF-Twin-Spires.ut2",
    "SkyboxPack.utx",
    "DM-Ashen-Keep.ut2",
    "KeepBattle.ogg",
    "AnnouncerExtra.uax",
    "RagdollPlus.ka",
    "ArmouredModel.ukx",
    "CustomSkeleton.ukx",
    "ServerStatsLite.u",
    "Arena-Coliseum.ut2",
    "dm-backyard.ut2",
    "VehicleSkinsPack.u",
    "ReadMe.txt",
]

MISSING_PAYLOAD = "SkyboxPack.utx"
ALREADY_IN_MAPS = "DM-Ashen-Keep.ut2"
# Entries whose key ends in -2: the game fetched a second copy under the same GUID.
SECOND_COPY = {"MutUltraSpeed.u", "HarbourTex.utx", "DM-Foundry-Deep.ut2"}

# System holds stock packages (never registered by the program), one registered package
# (its .ucl lies beside it) and one that is not registered yet.
SYSTEM_FILES = ["Core.u", "Engine.u", "XGame.u", "OldMut.u", "OldMut.ucl", "LooseMut.u"]

COMMENT = "; Download cache of the demo game: one line per cached package, GUID=file name"


def extension_of(name):
    dot = name.rfind(".")
    return name[dot:] if dot >= 0 else ""


def package_size(rng, extension):
    """A size in the kind's range, small ones more common than large ones."""
    low, high = SIZE_RANGES[extension]
    return low + int((high - low) * rng.random() ** 2)


def plan(rng):
    """The cache entries as (key, name, size), in index order."""
    entries = []
    for name in CACHED_PACKAGES:
        guid = "%032X" % rng.getrandbits(128)
        key = guid + ("-2" if name in SECOND_COPY else "-1")
        entries.append((key, name, package_size(rng, extension_of(name))))
    return entries


def index_text(entries):
    lines = ["[Cache]", COMMENT, ""] + ["%s=%s" % (key, name) for key, name, _ in entries]
    # The game leaves an empty line at the end of its index.
    lines.append("")
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def payload(rng, size):
    return rng.randbytes(size)


def text_file(rng, title, size):
    """A readable text of exactly size bytes."""
    words = ["cache", "package", "server", "map", "texture", "demo", "folder", "game"]
    text = title + "\r\n"
    while len(text) < size:
        text += rng.choice(words) + (" " if rng.random() < 0.9 else "\r\n")
    return text[:size].encode("ascii")


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def build(root):
    rng = random.Random(SEED)
    for folder in GAME_FOLDERS:
        os.makedirs(os.path.join(root, folder))
    cache = os.path.join(root, "Cache")
    entries = plan(rng)
    write(os.path.join(cache, "cache.ini"), index_text(entries))
    for key, name, size in entries:
        if name == MISSING_PAYLOAD:
            continue
        data = text_file(rng, name, size) if name.endswith(".txt") else payload(rng, size)
        write(os.path.join(cache, key + ".uxx"), data)
        if name == ALREADY_IN_MAPS:
            write(os.path.join(root, "Maps", name), data)
    system = os.path.join(root, "System")
    for name in SYSTEM_FILES:
        if name.endswith(".ucl"):
            data = text_file(rng, "; registration of " + name, 200)
        else:
            data = payload(rng, package_size(rng, ".u"))
        write(os.path.join(system, name), data)


def main(argv):
    if len(argv) != 2:
        print("usage: make_demo_game.py ROOT", file=sys.stderr)
        return 2
    root = os.path.abspath(argv[1])
    if os.path.exists(root):
        print("make_demo_game: %s exists already; remove it to make it again" % root, file=sys.stderr)
        return 1
    partial = root + ".partial"
    shutil.rmtree(partial, ignore_errors=True)
    os.makedirs(os.path.dirname(root), exist_ok=True)
    build(partial)
    os.rename(partial, root)
    print("make_demo_game: demo game in %s" % root)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
