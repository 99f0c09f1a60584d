"""The directory search on a real tree under Wine: the worked example,
misspelt names, hidden and system directories, and a wide level."""

from vantor_e2e import EXIT_NORMAL, HANDOFF_RESET

MENU_ROW = "[a] %-35s[b] %-35s" % ("S:\\Program Files\\Common Files", "S:\\ProgramData\\Corp")


def test_worked_example_ends_with_the_two_matches_in_order(vantor, overview_tree):
    # Without a console to answer it, the menu is shown and left as with Esc.
    result = vantor.run(["pr\\co"], cwd=vantor.scratch / "sroot")
    assert result.code == EXIT_NORMAL
    assert result.lines[0] == MENU_ROW
    assert result.handoff == HANDOFF_RESET


def test_misspelt_name_enters_the_nearest_directory(vantor, overview_tree):
    shell = vantor.shell("usr", start=overview_tree)
    assert (shell.code, shell.cwd, shell.left) == (EXIT_NORMAL, "S:\\Users", [])


def test_abbreviations_follow_only_the_best_branch(vantor):
    root = vantor.scratch / "tree"
    vantor.tree(["alpha\\one\\deep", "alpine\\two", "beta\\one"], root)
    vantor.map_drive("T", root)
    # "al" abbreviates alpha and alpine; only alpha holds "on"; the exact
    # "deep" beneath it adds nothing.
    shell = vantor.shell("\\al\\on\\deep", start="T:\\beta")
    assert (shell.code, shell.cwd) == (EXIT_NORMAL, "T:\\alpha\\one\\deep")


def test_hidden_and_system_directories_are_found(vantor):
    root = vantor.scratch / "tree"
    vantor.tree(["plain", "secret\\inner", "sysdir"], root)
    vantor.map_drive("T", root)
    marked = vantor.run_cmd(["attrib +h T:\\secret", "attrib +s +h T:\\sysdir",
                             "attrib T:\\secret", "attrib T:\\sysdir"])
    assert marked.text.count("H") >= 2, marked.text
    assert vantor.shell("\\secr\\inn", start="T:\\plain").cwd == "T:\\secret\\inner"
    assert vantor.shell("\\sysd", start="T:\\plain").cwd == "T:\\sysdir"


def test_typo_at_a_level_of_thousands_of_names(vantor):
    root = vantor.scratch / "wide"
    names = ["project%04d" % n for n in range(3000)] + ["quarterly-reports"]
    for name in names:
        (root / name).mkdir(parents=True)
    vantor.map_drive("W", root)
    # Two swapped letters: the nearest name by distance wins alone.
    shell = vantor.shell("\\quarterly-rpeorts", start="W:\\project0001")
    assert (shell.code, shell.cwd) == (EXIT_NORMAL, "W:\\quarterly-reports")
