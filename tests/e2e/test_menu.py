"""The match selection menu under Wine: drawing, colours, choosing by key,
leaving with Esc, redirected input, and keys only a helper can inject."""

import pytest

from vantor_e2e import CD_MARK, EXIT_NORMAL, HANDOFF_RESET, RC_MARK, Keys

PROMPT = "Change directory to (a-b or Escape to exit)? "
COMMON = "S:\\Program Files\\Common Files"
CORP = "S:\\ProgramData\\Corp"
# One row of the two-column menu on 80 columns: each entry is "[k] " and
# its path padded to 35 characters.
MENU_ROW = "[a] %-35s[b] %-35s" % (COMMON, CORP)


def shell_outcome(console):
    """The errorlevel and the directory a driver from `shell_lines` printed
    at its end, read from the screen."""
    lines = [line.rstrip() for line in console.display]
    code = next(int(line.split("=", 1)[1]) for line in lines if line.startswith(RC_MARK))
    cwd = lines[lines.index(CD_MARK) + 1]
    return code, cwd


def test_key_picks_an_entry_and_the_shell_lands_there(vantor, overview_tree):
    console = vantor.spawn_cmd(vantor.shell_lines("pr\\co", start="S:\\"))
    try:
        row, col = console.wait_text(PROMPT)
        assert col == 0
        assert console.display[row - 2][:78] == MENU_ROW
        assert console.display[row - 1].strip() == ""
        assert console.attr_of("[a]") == 10 and console.attr_of("[b]") == 10
        assert console.attr_of(COMMON) == 7 and console.attr_of(CORP) == 7
        assert console.attr(row, 0) == 7
        console.send("b")
        console.wait_text(PROMPT + "b")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert shell_outcome(console) == (EXIT_NORMAL, CORP)
    assert vantor.temp_names() == []


def test_escape_leaves_the_menu_and_the_shell_where_it_was(vantor, overview_tree):
    console = vantor.spawn_cmd(vantor.shell_lines("..\\pr\\co", start="S:\\Users"))
    try:
        console.wait_text(PROMPT)
        console.send(Keys.ESC, pause=0.2)
        console.wait_text(PROMPT + "Exit")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    # The shell stays where it was, and the run's file went with its folder.
    assert shell_outcome(console) == (EXIT_NORMAL, "S:\\Users")
    assert vantor.temp_names() == []


def test_ctrl_c_leaves_the_menu_as_escape_does(vantor, overview_tree):
    # Run directly: Wine ends a cmd in the terminal on Ctrl+C whatever the
    # program does (Windows' cmd would live on and, the program having read
    # the key itself, ask no "Terminate batch job" question).
    console = vantor.spawn(["pr\\co"], cwd=vantor.scratch / "sroot")
    try:
        console.wait_text(PROMPT)
        console.send(Keys.CTRL_C, pause=0.2)
        console.wait_text(PROMPT + "Exit")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert vantor.handoff() == HANDOFF_RESET


def test_redirected_input_ends_the_menu_as_escape_does(vantor, overview_tree):
    result = vantor.run(["pr\\co"], cwd=vantor.scratch / "sroot")
    assert result.code == EXIT_NORMAL
    assert result.lines == [MENU_ROW, "", PROMPT + "Exit", ""]
    assert result.handoff == HANDOFF_RESET


def test_keys_without_a_meaning_change_nothing(vantor, overview_tree):
    console = vantor.spawn(["pr\\co"], cwd=vantor.scratch / "sroot")
    try:
        console.wait_text(PROMPT)
        before = console.wait_quiet(0.1)
        console.send(Keys.LEFT, Keys.RIGHT, Keys.ENTER, Keys.TAB, Keys.F1, Keys.SHIFT_UP, "c", "A")
        # Num Lock, Scroll Lock with Shift and Caps Lock, which a terminal
        # cannot send: keys the menu reads and ignores.
        vantor.inject_keys("0,144,69", "0,145,70,0x10", "0,20,58")
        assert console.wait_quiet() == before
        console.send("a")
        console.wait_text(PROMPT + "a")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert vantor.handoff() == b'S:\r\nchdir "\\Program Files\\Common Files"\r\n'


def test_escape_with_its_character_leaves_the_menu(vantor, overview_tree):
    # Windows delivers Esc as character 27; a terminal under Wine cannot.
    console = vantor.spawn(["pr\\co"], cwd=vantor.scratch / "sroot")
    try:
        console.wait_text(PROMPT)
        vantor.inject_keys("27,27,1")
        console.wait_text(PROMPT + "Exit")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert vantor.handoff() == HANDOFF_RESET


@pytest.mark.parametrize("source", ["terminal", "injected"])
def test_ctrl_c_ends_the_run_with_exit_code_zero(vantor, overview_tree, source):
    # Ctrl+C is taken by the system (processed input), also when it is
    # written into the console input as character 3: the run ends with 0
    # and the hand-off file does nothing.
    console = vantor.spawn(["pr\\co"], cwd=vantor.scratch / "sroot")
    try:
        console.wait_text(PROMPT)
        if source == "terminal":
            console.send(Keys.CTRL_C)
        else:
            vantor.inject_keys("3,67,46,0x8")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert vantor.handoff() == HANDOFF_RESET
