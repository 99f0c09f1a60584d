"""The offer to create what nothing matched, under Wine: the create-mode
menu, the yes/no question and its keys, the component walk, and the shell
landing in the new directory through the wrapper."""

import pytest

from vantor_e2e import EXIT_DECLINED, EXIT_NORMAL, HANDOFF_RESET, Keys

QUESTION = "Create 'T:\\work\\sub\\newdir\\' [y/N] ? "


@pytest.fixture
def drive(vantor):
    """A tree mapped as drive T: with an empty directory and a directory
    whose only subdirectory has none; returns the Linux folder."""
    root = vantor.scratch / "troot"
    vantor.tree(["empty", "work\\sub"], root)
    vantor.map_drive("T", root)
    return root


def test_name_in_an_empty_directory_offers_two_and_creates_the_choice(vantor, drive):
    console = vantor.spawn_cmd(vantor.shell_lines("newdir", start="T:\\empty"))
    try:
        row, _ = console.wait_text("Create directory (a-b or Escape to exit)? ")
        assert console.display[row - 5].rstrip() == "Vantor: No directories found matching 'newdir'"
        assert console.attr_of("Vantor: No directories found") == 12
        assert console.display[row - 4].rstrip() == "** Create a new directory? **"
        assert console.attr_of("** Create a new directory? **") == 14
        assert console.display[row - 2].startswith("[a] T:\\empty\\newdir\\")
        assert "[b] newdir" in console.display[row - 2]
        console.send("a")
        assert console.wait_exit() == EXIT_NORMAL
        assert console.shell_outcome() == (EXIT_NORMAL, "T:\\empty\\newdir")
    finally:
        console.close()
    assert (drive / "empty" / "newdir").is_dir()
    assert vantor.temp_names() == []


def test_one_candidate_is_asked_for_and_yes_creates_it(vantor, drive):
    console = vantor.spawn_cmd(vantor.shell_lines("*\\newdir", start="T:\\work"))
    try:
        row, col = console.wait_text(QUESTION)
        assert console.attr(row, col) == 14
        # Keys that answer nothing leave the question waiting.
        console.send("x", " ", Keys.F1, Keys.DOWN, pause=0.2)
        console.pump(0.3)
        assert console.display[row].rstrip() == QUESTION.rstrip()
        assert not (drive / "work" / "sub" / "newdir").exists()
        console.send("y")
        console.wait_text(QUESTION + "Yes")
        assert console.wait_exit() == EXIT_NORMAL
        assert console.shell_outcome() == (EXIT_NORMAL, "T:\\work\\sub\\newdir")
    finally:
        console.close()
    assert (drive / "work" / "sub" / "newdir").is_dir()


@pytest.mark.parametrize("key", ["n", "N", Keys.ENTER, Keys.ESC, Keys.CTRL_C])
def test_every_other_answer_is_no_with_255(vantor, drive, key):
    console = vantor.spawn(["*\\newdir"], cwd=drive / "work")
    try:
        console.wait_text("[y/N] ? ")
        console.send(key, pause=0.2)
        console.wait_text("[y/N] ? No")
        assert console.wait_exit() == EXIT_DECLINED
    finally:
        console.close()
    assert not (drive / "work" / "sub" / "newdir").exists()
    assert vantor.handoff() == HANDOFF_RESET


def test_two_missing_levels_are_created(vantor, drive):
    console = vantor.spawn(["*\\a\\b"], cwd=drive / "work")
    try:
        console.wait_text("Create 'T:\\work\\sub\\a\\b' [y/N] ? ")
        console.send("Y")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert (drive / "work" / "sub" / "a" / "b").is_dir()
    assert vantor.handoff() == b'T:\r\nchdir "\\work\\sub\\a\\b"\r\n'


def test_input_that_is_no_console_answers_no(vantor, drive):
    result = vantor.run(["*\\newdir"], cwd=drive / "work")
    assert result.code == EXIT_DECLINED
    assert result.lines[-2:] == [QUESTION + "No", ""]
    assert not (drive / "work" / "sub" / "newdir").exists()


def test_switched_off_creation_reports_without_a_question(vantor, drive):
    vantor.reg_add("canCreatePath", 0, kind="REG_DWORD")
    result = vantor.run(["newdir"], cwd=drive / "empty")
    assert result.code == EXIT_NORMAL
    assert result.lines == ["Vantor: No directories found matching 'newdir'", ""]
    assert list((drive / "empty").iterdir()) == []
    assert result.handoff == HANDOFF_RESET
