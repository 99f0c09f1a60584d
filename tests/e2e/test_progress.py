"""A long search under Wine: the progress line and its growing count, Esc
and Ctrl+C stopping the search, a key typed ahead for the menu, and the
output of a redirected or short search, which never shows the line.

The tree (27,000 empty leaves three levels down) is made once for the
module; a search of *\\*\\*\\target reads all of it, a few seconds under
Wine, and finds the two targets. The tests wait for the line to appear
rather than for a time, so a loaded machine only makes them slower."""

import re
import shutil
import time

import pytest

from vantor_e2e import EXIT_NORMAL, HANDOFF_RESET, Keys

SPEC = "*\\*\\*\\target"
WIDTH = 30  # directories on each of the three levels
TARGETS = ["S:\\d05\\d07\\d11\\target", "S:\\d12\\d03\\d19\\target"]
MENU_ROW = "[a] %-35s[b] %-35s" % tuple(TARGETS)
PROMPT = "Change directory to (a-b or Escape to exit)? "
LINE = re.compile(r"Vantor: Searching\.\.\. (\d+) directories read \(press Esc to stop\)")
# What the program wrote before the line existed, when no key can answer
# the menu (checked against the build of the previous release).
REDIRECTED = (MENU_ROW + "\r\n\r\n" + PROMPT + "Exit\r\n").encode()


@pytest.fixture(scope="module")
def wide_tree(e2e_session):
    root = e2e_session.new_dir("wide")
    for a in range(WIDTH):
        for b in range(WIDTH):
            for c in range(WIDTH):
                (root / ("d%02d" % a) / ("d%02d" % b) / ("d%02d" % c)).mkdir(parents=True)
    for target in TARGETS:
        (root / target[3:].replace("\\", "/")).mkdir()
    yield root
    shutil.rmtree(root, ignore_errors=True)


@pytest.fixture
def tree(vantor, wide_tree):
    vantor.map_drive("S", wide_tree)
    return wide_tree


def line_count(console):
    """The count the progress line shows, or None when it is not there."""
    found = LINE.search(console.screen_text())
    return int(found.group(1)) if found else None


def wait_for_line(console):
    """Wait until the whole line shows; return its (row, col)."""
    console.wait_text("directories read (press Esc to stop)")
    return console.find("Vantor: Searching... ")


def blank(console):
    return all(not line.strip() for line in console.display)


def test_long_search_counts_on_then_shows_the_menu_as_before(vantor, tree):
    console = vantor.spawn([SPEC], cwd=tree)
    try:
        row, col = wait_for_line(console)
        assert (row, col) == (0, 0)  # where the cursor stood
        assert console.attr(0, 0) == 14
        first = line_count(console)
        deadline = time.monotonic() + 30
        while line_count(console) in (first, None):
            assert console.find(PROMPT) is None, "the search ended before the count grew"
            assert time.monotonic() < deadline, console.screen_text()
            console.pump(0.05)
        assert line_count(console) > first
        row, _ = console.wait_text(PROMPT, timeout=120)
        # The menu stands where the line stood, exactly as without it.
        assert row == 2
        assert console.display[0][:78] == MENU_ROW
        assert console.display[1].strip() == ""
        assert console.display[2].rstrip() == PROMPT.rstrip()
        assert all(not line.strip() for line in console.display[3:])
        assert console.attr_of("[a]") == 10 and console.attr_of(TARGETS[0]) == 7
        console.send("b")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert vantor.handoff() == b'S:\r\nchdir "\\d12\\d03\\d19\\target"\r\n'


@pytest.mark.parametrize("key", [Keys.ESC, Keys.CTRL_C], ids=["esc", "ctrl-c"])
def test_esc_or_ctrl_c_stops_the_search_as_leaving_the_menu(vantor, tree, key):
    console = vantor.spawn([SPEC], cwd=tree)
    try:
        wait_for_line(console)
        console.send(key, pause=0)
        sent = time.monotonic()
        code = console.wait_exit(timeout=60)
        stopped_after = time.monotonic() - sent
    finally:
        console.close()
    assert code == EXIT_NORMAL
    # The line is gone and nothing was written; no menu came.
    assert blank(console), console.screen_text()
    assert PROMPT.encode() not in console.raw
    assert vantor.handoff() == HANDOFF_RESET
    # Only what every run saves: the start directory at the front.
    history = vantor.reg_values()
    assert history.get("history_0") == "S:\\"
    assert history.get("history_1") == ""
    # Idle, this is about 0.3 s (Wine holds a lone Esc ~0.1 s to tell it
    # from a key sequence); the bound only allows for a loaded machine. The
    # rest of the search would take seconds.
    assert stopped_after < 2.5, stopped_after


def test_key_typed_during_the_search_waits_for_the_menu(vantor, tree):
    console = vantor.spawn([SPEC], cwd=tree)
    try:
        wait_for_line(console)
        console.send("b")
        console.wait_text(PROMPT + "b", timeout=120)
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert vantor.handoff() == b'S:\r\nchdir "\\d12\\d03\\d19\\target"\r\n'


def test_redirected_output_is_what_it_was(vantor, tree):
    result = vantor.run([SPEC], cwd=tree, timeout=180)
    assert result.code == EXIT_NORMAL
    assert result.stdout == REDIRECTED
    # With the keys still on the console, the line shows nowhere either:
    # not in the file, not on the screen.
    out = vantor.scratch / "out.txt"
    console = vantor.spawn_cmd(["cd /d S:\\", "\"%s\" %s > \"%s\"" % (
        vantor.win(vantor.exe), SPEC, vantor.win(out))])
    try:
        deadline = time.monotonic() + 120
        while not (out.exists() and PROMPT.encode() in out.read_bytes()):
            assert time.monotonic() < deadline, "no menu in the file"
            console.pump(0.1)
        console.send(Keys.ESC, pause=0.2)
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert out.read_bytes() == REDIRECTED
    assert b"Searching" not in console.raw


def test_short_search_never_shows_the_line(vantor, overview_tree):
    console = vantor.spawn(["pr\\co"], cwd=vantor.scratch / "sroot")
    try:
        console.wait_text("Change directory to (a-b or Escape to exit)? ")
        console.send(Keys.ESC, pause=0.2)
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert b"Searching" not in console.raw
