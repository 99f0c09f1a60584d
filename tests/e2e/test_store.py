"""History and aliases kept between runs: the settings file named by VANTOR,
the registry key without it, and the -l/-h, -a, - and -N options."""

import os
import random
import subprocess
import threading
import time

import pytest

from vantor_e2e import EXIT_NORMAL, EXIT_RUN_ERROR, OEM

SETTINGS_SIZE = 10736
HISTORY_NAMES = ["history_%d" % i for i in range(21)]
ALIAS_NAMES = (["aliasname_%d" % i for i in range(1, 21)]
               + ["aliasdir_%d" % i for i in range(1, 21)])


def decode_settings(data):
    """(history, aliases, can_create_path) of a settings file's bytes; the
    lengths must lie within their fields."""
    assert len(data) == SETTINGS_SIZE
    history = []
    for i in range(21):
        start = 256 * i
        history.append(data[start + 1:start + 1 + data[start]].decode(OEM))
    aliases = []
    for k in range(20):
        start = 5376 + 267 * k
        assert data[start] <= 10, "alias %d name length %d" % (k, data[start])
        name = data[start + 1:start + 1 + data[start]].decode(OEM)
        dir_length = data[start + 11]
        aliases.append((name, data[start + 12:start + 12 + dir_length].decode(OEM)))
    return history, aliases, data[10720] != 0


class Store:
    """A test's settings file (VANTOR) and helpers around it."""

    def __init__(self, vantor):
        self.vantor = vantor
        self.path = vantor.scratch / "vantor.dat"
        self.env = {"VANTOR": vantor.win(self.path)}

    def run(self, args, cwd=None):
        return self.vantor.run(args, cwd=cwd, env=self.env)

    def shell(self, args, start):
        return self.vantor.shell(args, start=start, env=self.env)

    def decoded(self):
        return decode_settings(self.path.read_bytes())

    def history(self):
        return [entry for entry in self.decoded()[0] if entry]

    def aliases(self):
        return [alias for alias in self.decoded()[1] if alias[0]]


@pytest.fixture
def store(vantor):
    return Store(vantor)


@pytest.fixture
def dirs(vantor):
    """Directories one, two, three and work\\proj below the scratch tree."""
    base = vantor.tree(["one", "two", "three", "work\\proj", "elsewhere"])
    return {name: base / name for name in ("one", "two", "three", "work", "elsewhere")}


# ---------------------------------------------------------------- the file

def test_a_missing_settings_file_is_reported_and_created(vantor, store, dirs):
    res = store.run([], cwd=dirs["one"])
    where = store.env["VANTOR"]
    assert res.code == EXIT_NORMAL
    assert res.text == ("Vantor: Error - can't read settings from '%s'\r\n"
                        "        Creating new file\r\n\r\n%s\r\n" % (where, vantor.win(dirs["one"])))
    history, aliases, can_create = store.decoded()
    assert history[0] == vantor.win(dirs["one"])
    assert history[1:] == [""] * 20
    assert aliases[:3] == [("dos", "c:\\dos"), ("win", "c:\\windows"), ("", "")]
    assert can_create
    assert vantor.reg_values() == {}, "with a settings file the registry is not touched"

    res = store.run([], cwd=dirs["two"])
    assert res.text == vantor.win(dirs["two"]) + "\r\n"
    assert store.history() == [vantor.win(dirs["two"]), vantor.win(dirs["one"])]
    assert not [name for name in os.listdir(vantor.scratch) if name.endswith(".tmp")]


def test_reserved_bytes_survive_and_a_short_file_is_saved_whole(store, dirs):
    image = bytearray(SETTINGS_SIZE)
    image[0:5] = b"\x04C:\\X"
    image[10716:10736] = bytes(range(0xA0, 0xB4))
    image[256:268] = b"\x02D:\\Windows\\"  # stale bytes behind a length
    store.path.write_bytes(bytes(image))
    assert store.run([], cwd=dirs["one"]).code == EXIT_NORMAL
    saved = store.path.read_bytes()
    assert saved[10716:] == bytes(range(0xA0, 0xB4))
    assert store.history()[:3] == [store.vantor.win(dirs["one"]), "C:\\X", "D:"]

    store.path.write_bytes(b"\x04C:\\Y")
    res = store.run([], cwd=dirs["one"])
    assert "Error" not in res.text
    history, aliases, can_create = store.decoded()
    assert history[:3] == [store.vantor.win(dirs["one"]), "C:\\Y", ""]
    assert aliases[0] == ("dos", "c:\\dos") and can_create


def test_a_read_only_settings_file_is_reported_and_left_alone(vantor, store, dirs):
    store.run([], cwd=dirs["one"])
    before = store.path.read_bytes()
    os.chmod(store.path, 0o444)  # Wine shows this as the read-only attribute
    res = store.run([], cwd=dirs["two"])
    where = store.env["VANTOR"]
    cant_write = "Vantor: Error - can't write to '%s'\r\n" % where
    assert res.text == ("Vantor: Error - can't read settings from '%s'\r\n"
                        "        Creating new file\r\n" % where + cant_write + "\r\n"
                        + cant_write * 2 + vantor.win(dirs["two"]) + "\r\n")
    assert res.code == EXIT_NORMAL
    assert store.path.read_bytes() == before
    assert not [name for name in os.listdir(vantor.scratch) if name.endswith(".tmp")]


def test_a_settings_path_with_accents_names_the_file_as_typed(vantor, dirs):
    folder = vantor.scratch / "Café"
    folder.mkdir()
    where = vantor.win(folder / "v.dat")
    res = vantor.run([], cwd=dirs["one"], env={"VANTOR": where})
    assert res.lines[0] == "Vantor: Error - can't read settings from '%s'" % where
    assert "Café".encode(OEM) in res.stdout
    assert decode_settings((folder / "v.dat").read_bytes())[0][0] == vantor.win(dirs["one"])
    assert vantor.run([], cwd=dirs["one"], env={"VANTOR": where}).lines[0] == \
        vantor.win(dirs["one"])


def test_a_settings_path_of_1024_characters_is_never_opened(vantor, dirs):
    too_long = "Z:\\tmp\\" + "x" * 1017
    assert len(too_long) == 1024
    res = vantor.run([], cwd=dirs["one"], env={"VANTOR": too_long})
    assert res.code == EXIT_NORMAL
    assert res.lines[0] == "Vantor: Error - can't read settings from '%s'" % too_long
    assert res.lines[2] == "Vantor: Error - can't write to '%s'" % too_long
    assert res.lines[-2] == vantor.win(dirs["one"])
    assert vantor.reg_values() == {}


def test_a_relative_settings_path_stays_beside_the_start_directory(vantor, dirs):
    one, two = vantor.win(dirs["one"]), vantor.win(dirs["two"])
    res = vantor.shell('"%s"' % two, start=one, env={"VANTOR": "vantor.dat"})
    assert (res.code, res.cwd) == (EXIT_NORMAL, two)
    assert res.text.startswith("Vantor: Error - can't read settings from 'vantor.dat'\r\n")
    assert not (dirs["two"] / "vantor.dat").exists()
    history = [entry for entry in decode_settings((dirs["one"] / "vantor.dat").read_bytes())[0]
               if entry]
    assert history == [two, one]


def test_every_relative_settings_path_names_one_file_for_the_whole_run(vantor, dirs):
    """A drive-relative VANTOR, and a relative one in a network start
    directory, name one file at load: the save after entering the target
    goes to that file, not to a second one in the target."""
    one, two = vantor.win(dirs["one"]), vantor.win(dirs["two"])
    data = vantor.map_drive("D", dirs["work"])
    share = vantor.map_share("srv", "share", dirs["one"].parent)
    rows = [
        # (VANTOR, drive directories, start, target, where the file must be)
        ("Z:v.dat", [], one, two, dirs["one"]),
        ("D:v.dat", [data + "proj"], one, two, dirs["work"] / "proj"),
        ("v.dat", [], share + "\\one", share + "\\two", dirs["one"]),
        ("..\\v.dat", [], share + "\\one", share + "\\two", dirs["one"].parent),
    ]
    for where, drive_dirs, start, target, folder in rows:
        # Two backslashes typed mean "every subdirectory": the share is reached by "..".
        res = vantor.shell("..\\two", start=start, drive_dirs=drive_dirs, env={"VANTOR": where})
        assert (res.code, res.cwd) == (EXIT_NORMAL, target), where
        assert res.text.startswith("Vantor: Error - can't read settings from '%s'\r\n" % where)
        assert "can't write" not in res.text, where
        saved = folder / "v.dat"
        history = [entry for entry in decode_settings(saved.read_bytes())[0] if entry]
        assert history == [target, start], where
        strays = sorted(str(p) for p in dirs["one"].parent.rglob("v.dat") if p != saved)
        strays += [str(p) for p in dirs["work"].rglob("v.dat") if p != saved]
        assert strays == [], where
        saved.unlink()


def test_the_deepest_settings_paths_are_created_read_and_saved(vantor, dirs):
    """Settings paths of 255 and 259 characters: too deep for the block
    written beside them under their own name, so it takes a short name, or
    the file is written in place when even that passes the limit."""
    root = vantor.map_drive("L", vantor.scratch / "deep")
    one = vantor.win(dirs["one"])
    for folder_length, length in ((120, 259), (245, 255), (245, 259), (250, 259)):
        folder = vantor.scratch / "deep"
        windows = root.rstrip("\\")
        while len(windows) < folder_length:
            part = "f" * min(100, folder_length - len(windows) - 1)
            folder, windows = folder / part, windows + "\\" + part
        folder.mkdir(parents=True, exist_ok=True)
        name = "n" * (length - folder_length - 1)
        where = windows + "\\" + name
        assert (len(windows), len(where)) == (folder_length, length)
        env = {"VANTOR": where}

        res = vantor.run([], cwd=dirs["one"], env=env)
        assert res.text == ("Vantor: Error - can't read settings from '%s'\r\n"
                            "        Creating new file\r\n\r\n%s\r\n" % (where, one)), where
        res = vantor.run(["-a", "deep", "."], cwd=dirs["two"], env=env)
        assert res.text == "Vantor: Adding alias deep=%s\r\n" % vantor.win(dirs["two"]), where
        history, aliases, _ = decode_settings((folder / name).read_bytes())
        assert history[:3] == [vantor.win(dirs["two"]), one, ""], where
        assert aliases[0] == ("deep", vantor.win(dirs["two"])), where
        assert sorted(p.name for p in folder.iterdir() if p.is_file()) == [name], where
        (folder / name).unlink()


def test_overlapping_runs_always_leave_a_whole_file(vantor, store, dirs):
    """Runs that save at the same moment, some killed half-way: the file is
    replaced as a whole, so every look at it finds 10736 bytes that decode."""
    store.run([], cwd=dirs["one"])
    starts = [dirs[name] for name in ("one", "two", "three", "elsewhere")]
    known = {vantor.win(path) for path in starts}
    seen_sizes = set()
    stop = threading.Event()

    def watch():
        # A moment without the file counts as a broken look too.
        while not stop.is_set():
            try:
                seen_sizes.add(len(store.path.read_bytes()))
            except FileNotFoundError:
                seen_sizes.add(None)

    watcher = threading.Thread(target=watch)
    watcher.start()
    rng = random.Random(7)
    killed = 0
    try:
        for _ in range(4):
            runs = [subprocess.Popen(["wine", str(vantor.exe)], cwd=str(rng.choice(starts)),
                                     env=vantor.prefix.env(store.env),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
                    for _ in range(6)]
            for run in runs[:3]:
                time.sleep(rng.uniform(0.0, 0.08))
                run.kill()
                killed += 1
            for run in runs:
                run.wait(timeout=60)
            history = store.history()
            assert set(history) <= known
            assert len(history) == len({entry.upper() for entry in history})
    finally:
        stop.set()
        watcher.join()
    assert seen_sizes == {SETTINGS_SIZE}
    assert killed == 12


# ---------------------------------------------------------------- registry

def test_without_vantor_the_registry_gets_every_value_but_the_switch(vantor, dirs):
    vantor.reg_delete()  # the key is made, with every value, where it is missing
    res = vantor.run([], cwd=dirs["one"])
    assert res.code == EXIT_NORMAL
    values = vantor.reg_values()
    assert sorted(values) == sorted(HISTORY_NAMES + ALIAS_NAMES)
    assert values["history_0"] == vantor.win(dirs["one"])
    assert all(values[name] == "" for name in HISTORY_NAMES[1:] + ALIAS_NAMES)
    assert not (vantor.scratch / "vantor.dat").exists()
    res = vantor.run(["-a"], cwd=dirs["one"])
    assert res.text == "  Vantor Directory Aliases (20 entries remaining)  \r\n"


def test_registry_texts_are_taken_literally_and_the_switch_is_only_read(vantor, dirs):
    vantor.reg_add("history_0", "C:\\Before")
    vantor.reg_add("history_1", "%USERPROFILE%\\x", "REG_EXPAND_SZ")
    vantor.reg_add("history_2", "C:\\" + "L" * 300)
    vantor.reg_add("canCreatePath", 0, "REG_DWORD")
    res = vantor.run(["-l"], cwd=dirs["one"])
    assert res.code == EXIT_NORMAL
    assert res.lines[1:5] == ["   3  C:\\" + "L" * 252, "   2  %USERPROFILE%\\x",
                              "   1  C:\\Before", "   0  " + vantor.win(dirs["one"])]
    values = vantor.reg_values()
    assert values["canCreatePath"] == 0
    assert values["history_3"] == "C:\\" + "L" * 252
    assert values["history_2"] == "%USERPROFILE%\\x"


# ---------------------------------------------------------------- history

def test_dash_toggles_between_two_directories(vantor, store, dirs):
    one, two = vantor.win(dirs["one"]), vantor.win(dirs["two"])
    res = store.shell('"%s"' % two, start=one)
    assert (res.code, res.cwd) == (EXIT_NORMAL, two)
    for expected, start in ((one, two), (two, one), (one, two)):
        res = store.shell("-", start=start)
        assert (res.code, res.cwd) == (EXIT_NORMAL, expected)
    assert store.history() == [one, two]
    res = store.shell("-1", start=one)
    assert res.cwd == two


def test_an_index_beyond_the_history_is_refused(vantor, store, dirs):
    one, two, three = (vantor.win(dirs[name]) for name in ("one", "two", "three"))
    store.shell('"%s"' % two, start=one)
    store.shell('"%s"' % three, start=two)
    res = store.shell("-3", start=three)
    assert res.code == EXIT_RUN_ERROR
    assert res.text == "Vantor: History does not yet extend back 3 entries.\r\n"
    assert res.cwd == three and res.left == []
    res = store.shell("-2", start=three)
    assert (res.code, res.cwd) == (EXIT_NORMAL, one)


def test_history_screen(vantor, store, dirs):
    one, two = vantor.win(dirs["one"]), vantor.win(dirs["two"])
    store.shell('"%s"' % two, start=one)
    for option in ("-l", "-H"):
        res = store.run([option], cwd=dirs["two"])
        assert (res.code, res.handoff) == (EXIT_NORMAL, b"rem\r\n")
        assert res.text == "  Vantor Directory History  \r\n   1  %s\r\n   0  %s\r\n" % (one, two)

    console = vantor.spawn(["-h"], cwd=dirs["two"], env=store.env)
    title = console.wait_text("Vantor Directory History")
    assert console.wait_exit() == EXIT_NORMAL
    assert console.attr(*title) == 14
    row = console.find("   1  " + one)[0]
    assert console.attr(row, 3) == 10
    assert console.attr(row, 6) == 7


# ---------------------------------------------------------------- aliases

def test_alias_list_define_and_remove(vantor, store, dirs):
    one = vantor.win(dirs["one"])
    res = store.run(["-a"], cwd=dirs["one"])
    assert res.text.startswith("Vantor: Error - can't read settings")
    assert res.text.endswith("  Vantor Directory Aliases (18 entries remaining)  \r\n"
                             "         win = c:\\windows\r\n"
                             "         dos = c:\\dos\r\n")

    res = store.run(["-a", "Projects_long", "."], cwd=dirs["one"])
    assert (res.code, res.text) == (EXIT_NORMAL, "Vantor: Adding alias Projects_l=%s\r\n" % one)
    res = store.run(["-a", "tmp", "..\\rel"], cwd=dirs["one"])
    assert res.text == "Vantor: Adding alias tmp=..\\rel\r\n"
    res = store.run(["-a"], cwd=dirs["one"])
    assert res.text == ("  Vantor Directory Aliases (16 entries remaining)  \r\n"
                        "         win = c:\\windows\r\n"
                        "         dos = c:\\dos\r\n"
                        "  Projects_l = %s\r\n"
                        "         tmp = ..\\rel\r\n" % one)

    res = store.run(["-a", "DOS"], cwd=dirs["one"])
    assert (res.code, res.text) == (EXIT_NORMAL, "Vantor: Removing alias 'DOS'\r\n")
    res = store.run(["-a", "DOS"], cwd=dirs["one"])
    assert (res.code, res.text) == (EXIT_NORMAL, "Vantor: No alias to delete called 'DOS'\r\n")
    assert store.aliases() == [("tmp", "..\\rel"), ("Projects_l", one), ("win", "c:\\windows")]
    assert res.handoff == b"rem\r\n"


def test_alias_screen_and_message_colours(vantor, store, dirs):
    store.run(["-a", "ab", "C:\\ab"], cwd=dirs["one"])
    console = vantor.spawn(["-a"], cwd=dirs["one"], env=store.env)
    title = console.wait_text("Vantor Directory Aliases (17 entries remaining)")
    assert console.wait_exit() == EXIT_NORMAL
    assert console.attr(*title) == 14
    row, col = console.find("ab = C:\\ab")
    assert col == 10, "names end in column 12"
    assert (console.attr(row, col), console.attr(row, col + 3)) == (10, 7)

    console = vantor.spawn(["-a", "zz"], cwd=dirs["one"], env=store.env)
    assert console.attr(*console.wait_text("Vantor: No alias to delete called 'zz'")) == 12
    assert console.wait_exit() == EXIT_NORMAL
    console = vantor.spawn(["-a", "ab"], cwd=dirs["one"], env=store.env)
    assert console.attr(*console.wait_text("Vantor: Removing alias 'ab'")) == 14
    assert console.wait_exit() == EXIT_NORMAL


def test_an_alias_is_used_by_name_in_another_case(vantor, store, dirs):
    proj = vantor.win(dirs["work"] / "proj")
    store.run(["-a", "Proj", proj], cwd=dirs["one"])
    store.run(["-a", "other", "C:\\other"], cwd=dirs["one"])
    res = store.shell("PROJ", start=vantor.win(dirs["two"]))
    assert (res.code, res.cwd) == (EXIT_NORMAL, proj)
    assert store.aliases()[0] == ("PROJ", proj)
    assert store.aliases()[1] == ("other", "C:\\other")
    assert store.history()[0] == proj


def test_an_existing_subdirectory_wins_over_an_alias(vantor, store, dirs):
    store.run(["-a", "proj", vantor.win(dirs["elsewhere"])], cwd=dirs["one"])
    store.run(["-a", "zz", "C:\\zz"], cwd=dirs["one"])
    res = store.shell("proj", start=vantor.win(dirs["work"]))
    assert (res.code, res.cwd) == (EXIT_NORMAL, vantor.win(dirs["work"] / "proj"))
    assert [name for name, _ in store.aliases()][:2] == ["zz", "proj"], "the alias was not used"


# ---------------------------------------------------------------- the file kept

def attributes(vantor, path):
    """The attribute letters `attrib` lists for a file (before its path)."""
    out = vantor.run_cmd(["attrib %s" % vantor.win(path)]).text
    return out.split(vantor.win(path))[0].replace(" ", "")


def test_a_save_keeps_the_files_attributes(vantor, store, dirs):
    store.run([], cwd=dirs["one"])
    vantor.run_cmd(["attrib +h +s %s" % vantor.win(store.path)])
    before = attributes(vantor, store.path)
    assert store.run([], cwd=dirs["two"]).code == EXIT_NORMAL
    after = attributes(vantor, store.path)
    print("\nattributes before a save: %s, after: %s" % (before, after))
    assert "S" in before and after == before
    assert store.history()[0] == vantor.win(dirs["two"])


def test_a_folder_that_refuses_new_files_gets_the_file_written_in_place(vantor, dirs):
    """An immutable folder (chattr +i; root as in CI cannot be kept out by
    permissions) takes no new file and lets no file be moved in, while the
    settings file in it stays writable: the block is written over it."""
    folder = vantor.scratch / "fixed"
    folder.mkdir()
    env = {"VANTOR": vantor.win(folder / "v.dat")}
    vantor.run([], cwd=dirs["one"], env=env)
    if subprocess.run(["chattr", "+i", str(folder)], capture_output=True).returncode != 0:
        pytest.skip("this file system has no immutable folders (chattr +i)")
    try:
        with pytest.raises(OSError):
            (folder / "probe").write_bytes(b"")
        res = vantor.run(["-a", "fixed", "X:\\fixed"], cwd=dirs["two"], env=env)
        history, aliases, _ = decode_settings((folder / "v.dat").read_bytes())
    finally:
        subprocess.run(["chattr", "-i", str(folder)], check=True)
    print("\nimmutable folder: %r" % res.text)
    assert (res.code, res.text) == (EXIT_NORMAL, "Vantor: Adding alias fixed=X:\\fixed\r\n")
    assert history[:2] == [vantor.win(dirs["two"]), vantor.win(dirs["one"])]
    assert aliases[0] == ("fixed", "X:\\fixed")
    assert sorted(p.name for p in folder.iterdir()) == ["v.dat"]


def test_a_file_the_system_cannot_identify_is_written_in_place(vantor, dirs):
    """VANTOR names a link, in a folder that takes no new file, to a file
    whose final path is longer than the file calls take: the system cannot
    tell which file it is, and the block is written over it through the
    link rather than refused."""
    deep = vantor.scratch.joinpath("d" * 100, "e" * 100, "f" * 100)
    deep.mkdir(parents=True)
    (deep / "v.dat").write_bytes(bytes(10736))
    assert len(vantor.win(deep / "v.dat")) >= 260
    folder = vantor.scratch / "fixed"
    folder.mkdir()
    os.symlink(deep / "v.dat", folder / "v.dat")
    if subprocess.run(["chattr", "+i", str(folder)], capture_output=True).returncode != 0:
        pytest.skip("this file system has no immutable folders (chattr +i)")
    try:
        res = vantor.run(["-a", "deep", "X:\\deep"], cwd=dirs["one"],
                         env={"VANTOR": vantor.win(folder / "v.dat")})
    finally:
        subprocess.run(["chattr", "-i", str(folder)], check=True)
    print("\nunidentified file behind a link: %r" % res.text)
    assert (res.code, res.text) == (EXIT_NORMAL, "Vantor: Adding alias deep=X:\\deep\r\n")
    assert decode_settings((deep / "v.dat").read_bytes())[1][0] == ("deep", "X:\\deep")
    assert (folder / "v.dat").is_symlink() and [p.name for p in deep.iterdir()] == ["v.dat"]


def test_a_file_with_two_names_keeps_both(vantor, store, dirs):
    """A hard link is a second name of the same file: the block is written
    over the file, so both names see it (a file put in its place would
    leave the other name with the old block)."""
    store.run([], cwd=dirs["one"])
    other = vantor.scratch / "other.dat"
    os.link(store.path, other)
    assert store.run([], cwd=dirs["two"]).code == EXIT_NORMAL
    history = [entry for entry in decode_settings(other.read_bytes())[0] if entry]
    print("\nthe second name holds: %s" % history)
    assert history == [vantor.win(dirs["two"]), vantor.win(dirs["one"])]
    assert os.stat(other).st_ino == os.stat(store.path).st_ino


def test_a_settings_file_reached_through_a_link_stays_behind_it(vantor, dirs):
    """VANTOR names a symbolic link to a file in another folder (a synced
    one, say): the block is written beside the file the link leads to and
    put in its place there, so the link stays a link. Wine shows a Unix
    link as a plain file, but the final path of the open file is the one
    the link leads to, as on Windows."""
    real = vantor.scratch / "synced"
    real.mkdir()
    vantor.run([], cwd=dirs["one"], env={"VANTOR": vantor.win(real / "v.dat")})
    link = vantor.scratch / "link.dat"
    os.symlink(real / "v.dat", link)
    assert vantor.run([], cwd=dirs["two"], env={"VANTOR": vantor.win(link)}).code == EXIT_NORMAL
    history = [entry for entry in decode_settings((real / "v.dat").read_bytes())[0] if entry]
    print("\nthe link is %s; the file behind it holds %s"
          % ("a link" if link.is_symlink() else "a plain file", history))
    assert link.is_symlink()
    assert history == [vantor.win(dirs["two"]), vantor.win(dirs["one"])]
    assert [p.name for p in real.iterdir()] == ["v.dat"]
    assert not list(vantor.scratch.glob("*.tmp"))
