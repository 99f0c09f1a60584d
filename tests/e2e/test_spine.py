"""The run from command line to hand-off: start directory, exact targets,
drives, roots, parent steps, drive letter check, TEMP and the hand-off
file's bytes, exit codes seen directly and through the wrapper."""

import shutil

import pytest

from vantor_e2e import (EXIT_NORMAL, EXIT_RUN_ERROR, HANDOFF_NAME, HANDOFF_RESET, oem,
                        registry_text)

TEMP_MISSING = (b"Vantor: Error - the environment variable TEMP is not defined\r\n"
                b"You can define it with the following command in your autoexec.bat:\r\n"
                b"  SET TEMP=c:\\temp\r\n\r\n")
INVALID_DRIVE_5 = b"Vantor: Invalid drive letter '5' (valid drives are A: through Z:)\r\n"


def handoff_for(path):
    """The hand-off bytes a change to the absolute path text must give."""
    raw = oem(path) if isinstance(path, str) else path
    if raw[1:2] == b":":
        return raw[:2] + b"\r\nchdir \"" + raw[2:].replace(b"%", b"%%") + b"\"\r\n"
    return b"chdir \"" + raw.replace(b"%", b"%%") + b"\"\r\n"


@pytest.fixture
def drive_d(vantor):
    """Drive D: holding sub\\deeper and other; returns the Linux folder."""
    base = vantor.tree(["sub\\deeper", "other"], vantor.scratch / "ddrive")
    vantor.map_drive("D", base)
    return base


def test_no_arguments_prints_start_dir(vantor, overview_tree, drive_d):
    users = vantor.scratch / "sroot" / "Users"
    cases = [([], users, b"S:\\Users"), ([""], users, b"S:\\Users"), ([], drive_d, b"D:\\")]
    for args, cwd, shown in cases:
        res = vantor.run(args, cwd=cwd)
        assert (res.code, res.stdout, res.handoff) == (EXIT_NORMAL, shown + b"\r\n",
                                                       HANDOFF_RESET), args
    # The start directory is recorded once, the latest first.
    assert [vantor.reg_query("history_%d" % i) for i in range(3)] == ["D:\\", "S:\\Users", ""]

    shell = vantor.shell("", start="S:\\Users")
    assert (shell.code, shell.output, shell.cwd) == (0, b"S:\\Users\r\n", "S:\\Users")
    shell = vantor.shell('""', start="S:\\Users")
    assert (shell.code, shell.output, shell.cwd) == (0, b"S:\\Users\r\n", "S:\\Users")


def test_parent_and_root_of_current_drive(vantor, overview_tree):
    common = vantor.scratch / "sroot" / "Program Files" / "Common Files"
    cases = [(["..", ], common, "S:\\Program Files"),
             (["\\"], common, "S:\\"),
             ([".."], vantor.scratch / "sroot", "S:\\"),  # the root is its own parent
             (["..\\.."], common, "S:\\"),
             (["..\\..\\Users"], common, "S:\\Users")]
    for args, cwd, target in cases:
        res = vantor.run(args, cwd=cwd)
        assert (res.code, res.stdout) == (EXIT_NORMAL, b""), (args, res.text)
        assert res.handoff == handoff_for(target), args
    assert vantor.run(["\\"], cwd=common).handoff == b"S:\r\nchdir \"\\\"\r\n"


def test_the_shell_lands_in_the_target(vantor, overview_tree, drive_d):
    cases = [("..", "S:\\Program Files\\Common Files", "S:\\Program Files"),
             ("\\", "S:\\Program Files\\Common Files", "S:\\"),
             ("D:\\", "S:\\Users", "D:\\"),
             ("D:..", "S:\\Users", "D:\\sub"),
             ("D:", "S:\\Users", "D:\\sub\\deeper"),
             ("Program Files\\Common Files", "S:\\", "S:\\Program Files\\Common Files"),
             ("Program Files", "S:\\", "S:\\Program Files"),
             ('"Program Files"', "S:\\", "S:\\Program Files")]
    for args, start, target in cases:
        # cd /d sets D's current directory in the shell, as a user's cd would.
        shell = vantor.shell(args, start=start, drive_dirs=["D:\\sub\\deeper"])
        assert (shell.code, shell.cwd, shell.left) == (EXIT_NORMAL, target, []), (args, shell.text)


def test_drive_root_and_drive_relative_targets(vantor, overview_tree, drive_d):
    users = vantor.scratch / "sroot" / "Users"
    res = vantor.run(["D:\\"], cwd=users)
    assert (res.code, res.handoff) == (EXIT_NORMAL, b"D:\r\nchdir \"\\\"\r\n")
    res = vantor.run(["d:\\sub"], cwd=users)  # the letter keeps the case typed
    assert (res.code, res.handoff) == (EXIT_NORMAL, b"d:\r\nchdir \"\\sub\"\r\n")
    # Without a current directory of its own, D: is at its root.
    res = vantor.run(["D:sub\\deeper"], cwd=users)
    assert (res.code, res.handoff) == (EXIT_NORMAL, handoff_for("D:\\sub\\deeper"))
    # A relative target is read back as a full path, which also heads the history.
    res = vantor.run(["..\\Windows"], cwd=users)
    assert (res.code, res.handoff) == (EXIT_NORMAL, handoff_for("S:\\Windows"))
    assert vantor.reg_query("history_0") == "S:\\Windows"
    assert vantor.reg_query("history_1") == "S:\\Users"


def test_worked_example_bytes(vantor, drive_d):
    work = vantor.prefix.path / "drive_c" / "Work"
    (work / "src").mkdir(parents=True)
    try:
        res = vantor.run(["C:\\Work\\src"])
        assert res.code == EXIT_NORMAL
        assert res.handoff == bytes.fromhex(
            "43 3A 0D 0A 63 68 64 69 72 20 22 5C 57 6F 72 6B 5C 73 72 63 22 0D 0A")
        # A trailing backslash names the same directory.
        assert vantor.run(["C:\\Work\\src\\"]).handoff == res.handoff
    finally:
        shutil.rmtree(work)


def test_network_paths(vantor):
    share = vantor.map_share("srv", "share", vantor.scratch / "share")
    (vantor.scratch / "share" / "proj" / "lib").mkdir(parents=True)
    lib = share + "\\proj\\lib"
    res = vantor.typed("", start=lib)
    assert (res.code, res.stdout, res.handoff) == (EXIT_NORMAL, oem(lib) + b"\r\n",
                                                   HANDOFF_RESET)
    res = vantor.typed("..", start=lib)
    assert (res.code, res.stdout) == (EXIT_NORMAL, b"")
    # cmd enters a network path through pushd alone (Windows' cmd maps a
    # drive letter for it; Wine's cmd enters the path itself).
    assert res.handoff == b"pushd \"\\\\srv\\share\\proj\"\r\n"
    shell = vantor.shell("..", start=lib)
    assert (shell.code, shell.cwd) == (EXIT_NORMAL, share + "\\proj")
    # A relative name that is no directory there has no drive letter to go by.
    res = vantor.typed("abc", start=lib)
    assert (res.code, res.stdout, res.handoff) == (
        EXIT_RUN_ERROR,
        b"Vantor: Invalid drive letter '\\' (valid drives are A: through Z:)\r\n",
        HANDOFF_RESET)


def test_missing_directory_is_reported_and_nothing_changes(vantor, drive_d):
    empty = vantor.scratch / "emptydrive"
    empty.mkdir()
    vantor.map_drive("E", empty)  # a root without subdirectories: nothing can match
    vantor.reg_add("canCreatePath", 0, "REG_DWORD")
    res = vantor.run(["..\\abc"], cwd=empty)
    assert (res.code, res.stdout, res.handoff) == (
        EXIT_NORMAL, b"Vantor: No directories found matching '..\\abc'\r\n", HANDOFF_RESET)
    assert not (empty / "abc").exists()

    # With creation allowed the offer follows; standard input is no console,
    # so nothing can be chosen and nothing is created.
    vantor.reg_delete("canCreatePath")
    res = vantor.run(["..\\abc"], cwd=empty)
    assert res.code in (EXIT_NORMAL, 255), res.text
    assert res.lines[0] == "Vantor: No directories found matching '..\\abc'"
    assert res.handoff == HANDOFF_RESET and not (empty / "abc").exists()

    con = vantor.spawn(["..\\abc"], cwd=empty)
    con.wait_text("No directories found")
    assert con.attr_of("Vantor: No directories") == 12
    con.send("\x1b")
    con.send("\x1b")
    assert con.wait_exit() in (EXIT_NORMAL, 255)


def test_invalid_drive_letter(vantor, overview_tree):
    users = vantor.scratch / "sroot" / "Users"
    res = vantor.run(["5:abc"], cwd=users)
    assert (res.code, res.stdout, res.handoff) == (EXIT_RUN_ERROR, INVALID_DRIVE_5,
                                                   HANDOFF_RESET)
    shell = vantor.shell("5:abc", start="S:\\Users")
    assert (shell.code, shell.output, shell.cwd) == (EXIT_RUN_ERROR, INVALID_DRIVE_5,
                                                     "S:\\Users")
    con = vantor.spawn(["5:abc"], cwd=users)
    con.wait_text("Invalid drive letter")
    assert con.attr_of("Vantor: Invalid") == 12
    assert con.wait_exit() == EXIT_RUN_ERROR

    # After the colon a backslash skips the letter check: the root of the
    # missing drive is searched and nothing is found.
    vantor.reg_add("canCreatePath", 0, "REG_DWORD")
    res = vantor.run(["1:\\x"], cwd=users)
    assert (res.code, res.stdout) == (EXIT_NORMAL,
                                      b"Vantor: No directories found matching '1:\\x'\r\n")


def test_missing_temp_ends_every_run(vantor, overview_tree):
    users = vantor.scratch / "sroot" / "Users"
    vantor.set_temp(None)
    for args in ([], ["..\\Windows"], ["5:abc"]):
        res = vantor.run(args, cwd=users)
        assert (res.code, res.stdout) == (EXIT_RUN_ERROR, TEMP_MISSING), args
    assert vantor.reg_query("history_0") is None  # stopped before the settings

    con = vantor.spawn([".."], cwd=users)
    con.wait_text("SET TEMP=c:\\temp")
    for text in ("Vantor: Error - the", "You can define", "SET TEMP"):
        assert con.attr_of(text) == 12, text
    assert con.wait_exit() == EXIT_RUN_ERROR

    vantor.set_temp(vantor.scratch / "Temp")
    shell = vantor.shell("..", start="S:\\Users", sets={"TEMP": None})
    assert (shell.code, shell.output, shell.cwd) == (EXIT_RUN_ERROR, TEMP_MISSING, "S:\\Users")


@pytest.mark.parametrize("trailing", ["", "\\"])
def test_temp_with_or_without_trailing_backslash(vantor, overview_tree, trailing):
    temp = vantor.scratch / "T2"
    temp.mkdir()
    vantor.set_temp(vantor.win(temp) + trailing)
    res = vantor.run(["..\\Windows"], cwd=vantor.scratch / "sroot" / "Users")
    assert (res.code, res.stdout) == (EXIT_NORMAL, b"")
    assert sorted(p.name for p in temp.iterdir()) == [HANDOFF_NAME]
    assert (temp / HANDOFF_NAME).read_bytes() == handoff_for("S:\\Windows")


def test_unwritable_temp(vantor, overview_tree):
    users = vantor.scratch / "sroot" / "Users"
    missing = vantor.win(vantor.scratch / "nosuch")
    blocked = vantor.scratch / "blocked"
    (blocked / HANDOFF_NAME).mkdir(parents=True)  # a folder where the file belongs
    for temp in (missing, missing + "\\", vantor.win(blocked)):
        vantor.set_temp(temp)
        name = temp.rstrip("\\") + "\\" + HANDOFF_NAME
        res = vantor.run([".."], cwd=users)
        assert (res.code, res.stdout) == (
            EXIT_RUN_ERROR,
            b"Vantor: Error - can't write to batch file '" + oem(name) + b"'\r\n\r\n"), temp
    assert vantor.reg_query("history_0") is None


def test_target_that_cannot_be_entered(vantor, overview_tree):
    users = vantor.scratch / "sroot" / "Users"
    gone = vantor.tree(["Gone"], vantor.scratch / "sroot") / "Gone"
    assert vantor.run(["S:\\Gone"], cwd=users).code == EXIT_NORMAL
    gone.rmdir()
    res = vantor.run(["-1"], cwd=users)  # back to the directory that has vanished
    assert (res.code, res.stdout, res.handoff) == (
        EXIT_RUN_ERROR, b"Vantor: Could not change directory to 'S:\\Gone'\r\n", HANDOFF_RESET)
    assert [vantor.reg_query("history_%d" % i) for i in range(3)] == ["S:\\Users", "S:\\Gone", ""]
    con = vantor.spawn(["-1"], cwd=users)
    con.wait_text("Could not change")
    assert con.attr_of("Vantor: Could not") == 12
    assert con.wait_exit() == EXIT_RUN_ERROR


def test_percent_signs_in_directory_names(vantor, overview_tree):
    names = ["100%", "a%PATH%b", "50% off", "x%%y"]
    vantor.tree([n + "\\inner" for n in names], vantor.scratch / "sroot")
    for name in names:
        target = "S:\\" + name
        shell = vantor.shell("..", start=target + "\\inner")
        assert (shell.code, shell.cwd, shell.left) == (EXIT_NORMAL, target, []), shell.text
    # Typed on the command line (%% in a batch file is one typed %).
    shell = vantor.shell('"100%%"', start="S:\\")
    assert (shell.code, shell.cwd) == (EXIT_NORMAL, "S:\\100%")
    res = vantor.run(["a%PATH%b"], cwd=vantor.scratch / "sroot")
    assert res.handoff == b"S:\r\nchdir \"\\a%%PATH%%b\"\r\n"


def test_non_ascii_names_end_to_end(vantor, overview_tree):
    vantor.tree(["Café\\Menü"], vantor.scratch / "sroot")
    sroot = vantor.scratch / "sroot"
    # The program works in the OEM code page: é is 0x82, ü is 0x81.
    res = vantor.run(["Café\\Menü"], cwd=sroot)  # typed as an argument
    assert (res.code, res.stdout) == (EXIT_NORMAL, b"")
    assert res.handoff == b"S:\r\nchdir \"\\Caf\x82\\Men\x81\"\r\n"
    assert vantor.reg_query("history_0") == registry_text(b"S:\\Caf\x82\\Men\x81")
    res = vantor.run([".."], cwd=sroot / "Café" / "Menü")  # read back from the system
    assert res.handoff == b"S:\r\nchdir \"\\Caf\x82\"\r\n"

    shell = vantor.shell("Café", start="S:\\")  # typed in the shell
    assert (shell.code, shell.cwd) == (EXIT_NORMAL, "S:\\Café")

    temp = vantor.scratch / "José"
    vantor.set_temp(temp)
    res = vantor.run(["Café"], cwd=sroot)
    assert (res.code, res.stdout) == (EXIT_NORMAL, b"")
    assert (temp / HANDOFF_NAME).read_bytes() == b"S:\r\nchdir \"\\Caf\x82\"\r\n"
    shell = vantor.shell("..\\Users", start="S:\\Café", sets={"TEMP": vantor.win(temp)})
    assert (shell.code, shell.cwd) == (EXIT_NORMAL, "S:\\Users"), shell.text
