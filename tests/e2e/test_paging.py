"""Paging under Wine: the pages of the selection menu, and the more-prompt
of long texts (the usage screen on a short terminal; Esc at the first stop
is covered with the usage screen in test_options.py)."""

import time

import pytest

from vantor_e2e import EXIT_NORMAL, EXIT_SCREEN_SHOWN, HANDOFF_RESET, Keys

MORE_PROMPT = " -- Press [Esc] to exit or any other key to continue -- "
PAGE_1 = "Page 1 of 2  Change directory to (a-J or Escape to exit)?"
PAGE_2 = "Page 2 of 2  Change directory to (a-n or Escape to exit)?"


@pytest.fixture
def sixty_dirs(vantor):
    """S:\\d01 to S:\\d60; returns the Linux folder of S:\\."""
    base = vantor.tree(["d%02d" % n for n in range(1, 61)], vantor.scratch / "many")
    vantor.map_drive("S", base)
    return base


def prompt_line(console):
    """The last line on the screen that holds text."""
    return [line.rstrip() for line in console.display if line.strip()][-1]


def press(console, key, expected_prompt):
    """Send one key and wait for the page whose prompt line is expected."""
    console.send(key, pause=0.15)
    deadline = time.monotonic() + 10
    while prompt_line(console) != expected_prompt:
        assert time.monotonic() < deadline, console.screen_text()
        console.pump(0.1)


def test_menu_pages_forward_and_back(vantor, sixty_dirs):
    console = vantor.spawn(["d*"], cwd=sixty_dirs)
    try:
        console.wait_text(PAGE_1)
        # 46 entries in 23 rows fill a 25-row screen with the blank line and
        # the prompt.
        assert console.display[0][:78] == "[a] %-35s[b] %-35s" % ("S:\\d01", "S:\\d02")
        assert console.display[22][:78] == "[I] %-35s[J] %-35s" % ("S:\\d45", "S:\\d46")
        assert console.display[23].strip() == ""
        for key, prompt in [(Keys.DOWN, PAGE_2), (Keys.UP, PAGE_1), (Keys.PGDN, PAGE_2),
                            (Keys.HOME, PAGE_1), (" ", PAGE_2), (Keys.PGUP, PAGE_1),
                            (Keys.END, PAGE_2)]:
            press(console, key, prompt)
        assert console.find("[a] S:\\d47") is not None
        assert console.find("[n] S:\\d60") is not None
        # On the last page, moves forward write nothing.
        before = console.wait_quiet(0.1)
        console.send(Keys.DOWN, Keys.PGDN, " ", Keys.END, pause=0.1)
        assert console.wait_quiet() == before
        console.send("a")
        console.wait_text(PAGE_2 + " a")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    # "a" on page 2 is the first entry of page 2, not of the list.
    assert vantor.handoff() == b'S:\r\nchdir "\\d47"\r\n'


def test_menu_on_a_tall_screen_holds_sixty_two(vantor, sixty_dirs):
    (sixty_dirs / "d61").mkdir()
    (sixty_dirs / "d62").mkdir()
    console = vantor.spawn(["d*"], rows=33, cwd=sixty_dirs)
    try:
        console.wait_text("Change directory to (a-Z or Escape to exit)?")
        assert console.find("Page") is None
        console.send(Keys.ESC, pause=0.2)
        console.wait_text("(a-Z or Escape to exit)? Exit")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert vantor.handoff() == HANDOFF_RESET


def test_more_prompt_stops_a_long_text_and_any_key_goes_on(vantor):
    console = vantor.spawn(["-?"], rows=10)
    try:
        row, col = console.wait_text(MORE_PROMPT)
        # Nine lines stand above the prompt on the tenth row.
        assert (row, col) == (9, 0)
        assert console.attr(9, 1) == 14
        first_page = console.wait_quiet()
        # Shift alone is no key press; Num Lock is one, though a terminal
        # cannot send it.
        vantor.inject_keys("0,16,42,0x10")
        assert console.wait_quiet() == first_page
        vantor.inject_keys("0,144,69")
        deadline = time.monotonic() + 10
        while console.screen_text() == first_page:
            assert time.monotonic() < deadline, "Num Lock did not continue"
            console.pump(0.1)
        console.wait_text(MORE_PROMPT)
        # The wiped prompt's row now holds the next line of the text.
        assert "Press [Esc]" not in "".join(console.display[:9])
        # Any key goes on at every later stop, to the end of the text.
        deadline = time.monotonic() + 20
        while console.pump(0.1):
            assert time.monotonic() < deadline, console.screen_text()
            if console.find(MORE_PROMPT) is not None:
                console.send("x", pause=0.2)
        assert console.wait_exit() == EXIT_SCREEN_SHOWN
    finally:
        console.close()


def test_ctrl_c_at_the_more_prompt_wipes_it_and_ends_with_zero(vantor):
    console = vantor.spawn(["-?"], rows=10)
    try:
        console.wait_text(MORE_PROMPT)
        console.send(Keys.CTRL_C, pause=0.2)
        # The run ends as with Esc: the prompt wiped, nothing more written,
        # exit code 0 where the whole text would have given 250.
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert console.find(MORE_PROMPT.strip()) is None, console.screen_text()
    assert console.display[9].strip() == ""


def test_redirected_output_carries_the_prompt_and_its_wipe(vantor):
    result = vantor.run(["-?"])
    assert result.code == EXIT_SCREEN_SHOWN
    wipe = b"\b" * 64 + b" " * 64 + b"\b" * 64
    lines = result.stdout.split(b"\r\n")
    stop = next(n for n, line in enumerate(lines) if line.startswith(MORE_PROMPT.encode()))
    # The limit is 24 lines when the screen cannot be measured.
    assert stop == 24
    assert lines[stop][:len(MORE_PROMPT) + len(wipe)] == MORE_PROMPT.encode() + wipe
    assert result.stdout.count(MORE_PROMPT.encode()) == 1
