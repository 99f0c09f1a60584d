"""Bad input from every side, end to end: TEMP and VANTOR in every broken
shape, registry values of the wrong type or far too long, command lines of
tens of thousands of characters, names the shell treats specially, a folder
that cannot be listed, a very deep and a very wide tree. Every row ends with
its message and exit code, in bounded time, and leaves the stored history
and aliases as they were (or with only this run's own entries added).

The module's prefix runs without root's power to ignore file permissions
(when the tests run as root), so that a read-only or unlistable folder made
with chmod is one for the program too."""

import os
import random
import subprocess

import pytest

import vantor_e2e as e2e
from vantor_e2e import EXIT_NORMAL, EXIT_RUN_ERROR, HANDOFF_NAME, HANDOFF_RESET, OEM

SETTINGS_SIZE = 10736
TEMP_MISSING = (b"Vantor: Error - the environment variable TEMP is not defined\r\n"
                b"You can define it with the following command in your autoexec.bat:\r\n"
                b"  SET TEMP=c:\\temp\r\n\r\n")
# Root ignores permission bits; without these two capabilities it does not.
DROP_OVERRIDE = (["setpriv", "--bounding-set", "-dac_override,-dac_read_search"]
                 if os.geteuid() == 0 else [])


class UnprivilegedPrefix(e2e.WinePrefix):
    """A prefix whose wineserver and programs cannot override permissions."""

    def call(self, args, timeout=60, check=False, **kw):
        return super().call(DROP_OVERRIDE + list(args), timeout=timeout, check=check, **kw)

    def start_server(self):
        for args in (["wineserver", "-p"], ["wine", "cmd", "/c", "rem"]):
            subprocess.run(DROP_OVERRIDE + args, env=self.env(), stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                           check=True)
        self.server_started = True


@pytest.fixture(scope="module")
def wine_prefix(e2e_session):
    prefix = UnprivilegedPrefix.clone(e2e_session.template, e2e_session.new_dir("bad") / "p")
    prefix.start_server()
    yield prefix
    e2e_session.drop_prefix(prefix)


# ---------------------------------------------------------------- stored data

def decode(data):
    """(visible history, aliases) of settings bytes, lengths cut to their
    fields as the program reads them; the history stops at its first gap."""
    data = data.ljust(SETTINGS_SIZE, b"\0")
    history = []
    for i in range(21):
        entry = data[256 * i + 1:256 * i + 1 + data[256 * i]]
        if not entry:
            break
        history.append(entry)
    aliases = []
    for k in range(20):
        at = 5376 + 267 * k
        name = data[at + 1:at + 1 + min(data[at], 10)]
        if not name:
            break
        aliases.append((name, data[at + 12:at + 12 + data[at + 11]]))
    return history, aliases


def image(history, aliases):
    data = bytearray(SETTINGS_SIZE)
    for i, entry in enumerate(history):
        data[256 * i:256 * i + 1 + len(entry)] = bytes([len(entry)]) + entry
    for k, (name, folder) in enumerate(aliases):
        at = 5376 + 267 * k
        data[at:at + 1 + len(name)] = bytes([len(name)]) + name
        data[at + 11:at + 12 + len(folder)] = bytes([len(folder)]) + folder
    data[10720] = 1
    return bytes(data)


HISTORY = [b"S:\\one", b"S:\\two", b"S:\\one\\deeper"]
ALIASES = [(b"one", b"S:\\one"), (b"two", b"S:\\two"), (b"far", b"Q:\\not\\here")]


def import_registry(vantor, values):
    """Put values under the program's key: str (REG_SZ), int (REG_DWORD),
    bytes (REG_BINARY), or (kind number, bytes)."""
    lines = ["Windows Registry Editor Version 5.00", "", "[%s]" % e2e.reg_root(e2e.REG_KEY)]
    for name, value in values.items():
        if isinstance(value, str):
            data = '"%s"' % value.replace("\\", "\\\\")
        elif isinstance(value, int):
            data = "dword:%08x" % value
        elif isinstance(value, bytes):
            data = "hex:" + ",".join("%02x" % b for b in value)
        else:
            data = "hex(%x):" % value[0] + ",".join("%02x" % b for b in value[1])
        lines.append('"%s"=%s' % (name, data))
    path = vantor.scratch / "values.reg"
    path.write_text("\r\n".join(lines + ["", ""]), encoding="utf-16")
    vantor.prefix.reg("import", vantor.win(path), check=True)


class Stored:
    """The history and aliases kept before a row, in the registry and in a
    settings file, and the check that the row kept them."""

    def __init__(self, vantor):
        self.vantor = vantor
        self.file = vantor.scratch / "kept.dat"
        self.file.write_bytes(image(HISTORY, ALIASES))
        values = {"history_%d" % i: entry.decode(OEM) for i, entry in enumerate(HISTORY)}
        for k, (name, folder) in enumerate(ALIASES, 1):
            values["aliasname_%d" % k] = name.decode(OEM)
            values["aliasdir_%d" % k] = folder.decode(OEM)
        import_registry(vantor, values)
        self.registry = vantor.reg_values()
        self.env = {"VANTOR": vantor.win(self.file)}

    def snapshot_registry(self):
        """Take the registry as it is now as the one to keep."""
        self.registry = self.vantor.reg_values()

    def registry_history(self):
        values = self.vantor.reg_values()
        history = []
        for i in range(21):
            entry = values.get("history_%d" % i, "")
            if not entry:
                break
            history.append(entry.encode(OEM))
        return history

    def check_untouched(self):
        """Nothing was loaded or saved: both stores hold what they held."""
        assert self.file.read_bytes() == image(HISTORY, ALIASES)
        assert self.vantor.reg_values() == self.registry

    def check_kept(self, in_file):
        """The store in use holds every entry and alias it held, behind what
        this run added; the other store is untouched."""
        if in_file:
            history, aliases = decode(self.file.read_bytes())
            assert len(self.file.read_bytes()) == SETTINGS_SIZE
            assert self.vantor.reg_values() == self.registry
        else:
            history, aliases = self.registry_history(), decode(image([], ALIASES))[1]
            def aliases_of(values):
                return {k: v for k, v in values.items() if "alias" in k and v}
            assert aliases_of(self.vantor.reg_values()) == aliases_of(self.registry)
            assert self.file.read_bytes() == image(HISTORY, ALIASES)
        present = {entry.upper() for entry in history}
        assert all(entry.upper() in present for entry in HISTORY), history
        assert aliases == ALIASES


@pytest.fixture
def stored(vantor):
    return Stored(vantor)


@pytest.fixture
def small_drive(vantor):
    """Drive S: holding one\\deeper, two and three; returns its Linux folder."""
    base = vantor.tree(["one\\deeper", "two", "three"], vantor.scratch / "sdrive")
    vantor.map_drive("S", base)
    return base


# ---------------------------------------------------------------- TEMP

def test_temp_that_cannot_take_the_hand_off_file_ends_every_run(vantor, stored, small_drive):
    read_only = vantor.scratch / "ro"
    read_only.mkdir()
    os.chmod(read_only, 0o555)
    long_folder = vantor.scratch / ("x" * 100) / ("y" * 100) / ("z" * 100)
    long_folder.mkdir(parents=True)
    rows = {
        "unset": (None, TEMP_MISSING),
        "empty": ("", TEMP_MISSING),
        "missing folder": (vantor.win(vantor.scratch / "nosuch"), None),
        "read-only folder": (vantor.win(read_only), None),
        "300 characters": (vantor.win(long_folder), None),
    }
    for row, (temp, message) in rows.items():
        vantor.set_temp(temp)
        for env in ({}, stored.env):
            res = vantor.run(["two"], cwd=small_drive / "one", env=env)
            if message is None:
                message = (b"Vantor: Error - can't write to batch file '" + oem_path(temp) +
                           b"\\" + HANDOFF_NAME.encode() + b"'\r\n\r\n")
            assert (res.code, res.stdout) == (EXIT_RUN_ERROR, message), row
        assert not (read_only / HANDOFF_NAME).exists()
        stored.check_untouched()


def oem_path(text):
    return text.encode(OEM)


def last_line(res):
    return res.text.rstrip("\r\n").split("\r\n")[-1]


# ---------------------------------------------------------------- VANTOR

def settings_failure(where, saves):
    """What a run prints whose settings file can neither be read nor
    written: the read failure, then one write failure per save."""
    cant_write = b"Vantor: Error - can't write to '" + where + b"'\r\n"
    return (b"Vantor: Error - can't read settings from '" + where + b"'\r\n"
            b"        Creating new file\r\n" + cant_write + b"\r\n" + cant_write * saves)


def test_a_settings_file_that_cannot_be_used_is_reported_and_the_run_goes_on(
        vantor, stored, small_drive):
    read_only = vantor.scratch / "ro.dat"
    read_only.write_bytes(image([b"S:\\two"], ALIASES))
    os.chmod(read_only, 0o444)
    before = read_only.read_bytes()
    one = small_drive / "one"
    rows = {
        "missing folder": vantor.win(vantor.scratch / "nosuch" / "v.dat"),
        "a directory": vantor.win(small_drive / "three"),
        "a read-only file": vantor.win(read_only),
        "2,000 characters": "Z:\\" + "v" * 1997,
    }
    for row, where in rows.items():
        res = vantor.run(["..\\two"], cwd=one, env={"VANTOR": where})
        # Saves: the new file, start-up, the start directory, the target.
        assert res.stdout == settings_failure(where.encode(OEM), 3), row
        assert (res.code, res.handoff) == (EXIT_NORMAL, b"S:\r\nchdir \"\\two\"\r\n"), row
        stored.check_untouched()
    assert (small_drive / "three").is_dir()
    assert read_only.read_bytes() == before
    assert not [name for name in os.listdir(vantor.scratch) if name.endswith(".tmp")]


def test_a_short_or_random_settings_file_loads_and_is_saved_whole(vantor, stored, small_drive):
    one = small_drive / "one"
    short = image(HISTORY, ALIASES[:1])[:5376 + 267 + 40]  # cut inside the second alias
    noise = bytearray(random.Random(11).randbytes(SETTINGS_SIZE))
    for row, content in (("short", short), ("random bytes", bytes(noise))):
        stored.file.write_bytes(content)
        history_before, aliases_before = decode(content)
        res = vantor.run(["..\\two"], cwd=one, env=stored.env)
        assert (res.code, res.stdout) == (EXIT_NORMAL, b""), row
        after = stored.file.read_bytes()
        assert len(after) == SETTINGS_SIZE, row
        history, aliases = decode(after)
        assert history[:2] == [b"S:\\two", b"S:\\one"], row
        kept = [entry for entry in history_before if entry.upper() not in (b"S:\\TWO", b"S:\\ONE")]
        assert [entry for entry in history[2:] if entry in kept] == kept[:19], row
        assert aliases == aliases_before, row
    assert vantor.reg_values() == stored.registry


# ---------------------------------------------------------------- registry

def test_registry_values_of_the_wrong_type_or_far_too_long(vantor, stored, small_drive):
    long_entry = "S:\\" + "L" * 5000
    import_registry(vantor, {
        "history_1": 5,                        # REG_DWORD
        "history_2": b"S:\\two\0",             # REG_BINARY
        "aliasdir_2": (7, b"S:\\x\0\0"),      # REG_MULTI_SZ
        "aliasname_3": 3,                      # REG_DWORD: the entry loses its name
        "history_3": long_entry,
        "aliasdir_1": long_entry,
        "canCreatePath": "0",                  # REG_SZ counts as true
    })
    res = vantor.run(["nothing\\here"], cwd=small_drive / "two")
    assert res.code == EXIT_NORMAL
    assert res.text.startswith("Vantor: No directories found matching 'nothing\\here'\r\n"
                               "** Create a new directory? **"), res.text
    values = vantor.reg_values()
    # The start directory goes in front of the first readable entry; the
    # unreadable ones come back empty, the long one cut to 255.
    assert [values["history_%d" % i] for i in range(5)] == \
        ["S:\\two", "S:\\one", "", "", long_entry[:255]]
    assert (values["aliasname_1"], values["aliasdir_1"]) == ("one", long_entry[:255])
    assert (values["aliasname_2"], values["aliasdir_2"]) == ("two", "")
    assert (values["aliasname_3"], values["aliasdir_3"]) == ("", "Q:\\not\\here")
    assert values["canCreatePath"] == "0"
    assert stored.file.read_bytes() == image(HISTORY, ALIASES)


# ---------------------------------------------------------------- command line

def test_command_lines_of_tens_of_thousands_of_characters(vantor, stored, small_drive):
    deeper = small_drive / "one" / "deeper"
    for in_file, env in ((False, {}), (True, stored.env)):
        stored.snapshot_registry()
        # One name of 30,000 letters: no directory is that close; the two
        # creation candidates are offered, and with no console the menu is left.
        name = "q" * 30000
        res = vantor.run([name], cwd=small_drive / "one", env=env)
        assert res.code == EXIT_NORMAL and res.handoff == HANDOFF_RESET
        assert res.lines[0] == "Vantor: No directories found matching '%s'" % name
        assert last_line(res) == "Create directory (a-b or Escape to exit)? Exit"

        # 10,000 backslashes: every level of the drive, no match, no candidate.
        res = vantor.run(["\\" * 10000], cwd=deeper, env=env)
        spec = "\\" + "*\\" * 9999
        assert (res.code, res.text) == (
            EXIT_NORMAL, "Vantor: No directories found matching '%s'\r\n" % spec)

        # 10,000 dots: 9,999 parent steps, which stop at the root.
        res = vantor.run(["." * 10000], cwd=deeper, env=env)
        assert (res.code, res.stdout, res.handoff) == (EXIT_NORMAL, b"", b"S:\r\nchdir \"\\\"\r\n")

        # 10,000 components: found down to where the tree ends.
        spec = "\\".join(["one", "deeper"] + ["x"] * 9998)
        res = vantor.run([spec], cwd=small_drive, env=env)
        assert res.code == EXIT_NORMAL and res.handoff == HANDOFF_RESET
        assert res.lines[0] == "Vantor: No directories found matching '%s'" % spec
        assert "[a] S:\\...\\" in res.text
        stored.check_kept(in_file)


# ---------------------------------------------------------------- names

SPECIAL_NAMES = ["50% & (co)", "a^b!c", "(x) y", "ÑandÜ é", "100%%", "!x! ^&^"]


def test_names_the_shell_treats_specially_reach_the_right_directory(vantor, small_drive):
    vantor.tree([name + "\\inner" for name in SPECIAL_NAMES], small_drive)
    for name in SPECIAL_NAMES:
        target = "S:\\" + name
        typed = '"%s"' % e2e.batch_escape(target)
        shell = vantor.shell(typed, start="S:\\two")
        assert (shell.code, shell.cwd) == (EXIT_NORMAL, target), (name, shell.text)
        shell = vantor.shell("..", start=target + "\\inner")
        assert (shell.code, shell.cwd) == (EXIT_NORMAL, target), (name, shell.text)
    history = vantor.reg_values()
    assert history["history_0"] == e2e.registry_text(("S:\\" + SPECIAL_NAMES[-1]).encode(OEM))


# ---------------------------------------------------------------- the tree

def test_a_folder_that_cannot_be_listed_counts_as_one_without_subdirectories(
        vantor, stored, small_drive):
    vantor.tree(["locked\\target", "open\\target"], small_drive)
    os.chmod(small_drive / "locked", 0)
    try:
        res = vantor.run(["*\\target"], cwd=small_drive, env=stored.env)
        assert (res.code, res.stdout, res.handoff) == (
            EXIT_NORMAL, b"", b"S:\r\nchdir \"\\open\\target\"\r\n")
        res = vantor.run(["locked\\tar"], cwd=small_drive, env=stored.env)
        assert res.code == EXIT_NORMAL and res.handoff == HANDOFF_RESET
        assert [line.rstrip() for line in res.lines[:5]] == [
            "Vantor: No directories found matching 'locked\\tar'",
            "** Create a new directory? **", "",
            "[a] S:\\locked\\tar\\%s[b] locked\\tar" % (" " * 21), ""]
        res = vantor.run(["S:\\locked"], cwd=small_drive, env=stored.env)
        assert (res.code, res.stdout) == (
            EXIT_RUN_ERROR, b"Vantor: Could not change directory to 'S:\\locked'\r\n")
    finally:
        os.chmod(small_drive / "locked", 0o755)
    stored.check_kept(True)


def test_a_tree_200_levels_deep(vantor, stored, small_drive):
    (small_drive / "/".join(["d"] * 200)).mkdir(parents=True)
    # Level 100 (a path of 203 characters) is entered as typed.
    res = vantor.run(["\\".join(["d"] * 100)], cwd=small_drive, env=stored.env)
    assert (res.code, res.handoff) == (
        EXIT_NORMAL, b"S:\r\nchdir \"" + b"\\d" * 100 + b"\"\r\n")
    # Past the longest path the system takes, a level reads as empty: the
    # search ends there and offers to create the rest.
    for spec in ("\\".join(["d"] * 200), "\\".join(["*"] * 200)):
        res = vantor.run([spec], cwd=small_drive, env=stored.env)
        assert res.code == EXIT_NORMAL and res.handoff == HANDOFF_RESET, spec[:20]
        assert res.lines[0] == "Vantor: No directories found matching '%s'" % spec
    stored.check_kept(True)


def test_a_level_of_20000_subdirectories(vantor, stored, small_drive):
    wide = small_drive / "wide"
    wide.mkdir()
    for i in range(20000):
        (wide / ("sub%05d" % i)).mkdir()
    res = vantor.run(["wide\\sub12345"], cwd=small_drive, env=stored.env)
    assert (res.code, res.stdout, res.handoff) == (
        EXIT_NORMAL, b"", b"S:\r\nchdir \"\\wide\\sub12345\"\r\n")
    # All 20,000 tie by distance: the first page of the menu, then left.
    res = vantor.run(["wide\\zz"], cwd=small_drive, env=stored.env)
    assert res.code == EXIT_NORMAL and res.handoff == HANDOFF_RESET
    assert res.lines[0].startswith("[a] S:\\wide\\sub00000 ")
    assert last_line(res) == "Page 1 of 435  Change directory to (a-J or Escape to exit)? Exit"
    stored.check_kept(True)
