"""Folders whose names the console's code page (437 here, ANSI 1252) cannot
hold: a typographic apostrophe, an en dash, Cyrillic, CJK and an emoji,
beside Café, which 437 holds. Each shows as it is in the menu, is entered
from PowerShell by a typed abbreviation and by Tab, and is kept in the
history and as an alias; what was stored in OEM bytes before loads as it
did."""

import re

from powershell import PowerShell, completions, step, value
from vantor_e2e import EXIT_NORMAL

NAMES = ["Bob’s files", "Café", "Projects – 2024", "Документы", "写真", "📷 Photos"]


def unicode_tree(vantor):
    """The names in a folder mapped as drive U:; returns "U:\\"."""
    return vantor.map_drive("U", vantor.tree(NAMES, vantor.scratch / "uroot"))


def key_column(console, row, key):
    """The screen cell where "[key]" starts on a row: a wide character takes
    two cells there, where the row's text counts it once."""
    cells = console.screen.buffer[row]
    return next(x for x in range(console.screen.columns - 1)
                if cells[x].data == "[" and cells[x + 1].data == key)


def stored(text):
    """A settings field holding text the OEM code page cannot hold."""
    data = b"\x01" + text.encode()
    return bytes([len(data)]) + data


def test_the_menu_shows_every_name_as_it_is_in_aligned_columns(vantor):
    unicode_tree(vantor)
    console = vantor.spawn(["U:\\*"], env={"VANTOR": vantor.win(vantor.scratch / "v.dat")})
    try:
        console.wait_text("Change directory to (a-f or Escape to exit)?")
        # Wine's console draws no character beyond the basic plane (the
        # emoji comes out as two replacement characters).
        for key, name in zip("abcde", NAMES):
            assert console.find("[%s] U:\\%s" % (key, name)), console.screen_text()
        columns = {key_column(console, console.find("[%s]" % key)[0], key) for key in "bdf"}
        assert len(columns) == 1, console.screen_text()
        console.send("d")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert re.fullmatch(r'U:\r\nchcp 65001 >nul 2>nul\r\nif errorlevel 1 \(chdir "\\[!-~]+"\) '
                        r'else chdir "\\Документы"\r\nchcp 437 >nul 2>nul\r\n',
                        vantor.handoff().decode()), vantor.handoff()
    data = (vantor.scratch / "v.dat").read_bytes()
    assert data.startswith(stored("U:\\Документы"))


def test_powershell_enters_them_by_abbreviation_tab_history_and_alias(vantor):
    unicode_tree(vantor)
    session = PowerShell(vantor).run([
        step("c bob"),
        step("c \\proj"),
        step("c \\Док"),
        step("c \\写"),
        step("c -"),
        step("c -a ph ."),
        ". c-completion.ps1",
        value(completions("c \\📷")),
        step("c 'U:\\📷 Photos\\'"),
        step("c ph"),
        step("c \\caf"),
    ], start="U:\\")
    assert session.code == 0, session.text
    landed = [(s.code, s.location) for s in session.steps]
    assert landed == [(0, "U:\\Bob’s files"), (0, "U:\\Projects – 2024"),
                      (0, "U:\\Документы"), (0, "U:\\写真"), (0, "U:\\Документы"),
                      (0, "U:\\Документы"), (0, "U:\\📷 Photos"), (0, "U:\\Документы"),
                      (0, "U:\\Café")], session.text
    assert session.values == [["'U:\\📷 Photos'\tU:\\📷 Photos\tProviderContainer"]]
    assert vantor.reg_query("aliasdir_1") == "\x01U:\\Документы"
    # Café fits the OEM code page: stored as its OEM bytes through the
    # ANSI functions, as it always was (0x82 is "‚" in 1252).
    assert vantor.reg_query("history_0") == "U:\\Caf‚"


def test_cmd_enters_them_through_the_wrapper(vantor):
    """Wine's cmd refuses code page 65001: the hand-off enters the short
    name, which Wine resolves to the long one, and c.bat hands on typed
    arguments its file lost as typed. Windows' cmd reads the UTF-8 lines
    instead (not shown here). What is typed comes from a variable, as the
    driver batch file itself is in code page 437."""
    root = unicode_tree(vantor)
    for typed, name in [("bob", "Bob’s files"), ("\\proj", "Projects – 2024"),
                        ("\\Док", "Документы"), ("U:\\写*", "写真"), ("\\ca?é", "Café")]:
        res = vantor.shell("%VANTOR_TYPED%", start=root, env={"VANTOR_TYPED": typed})
        # Wine's cmd prints its directory into the pipe in the ANSI code page.
        shown = "U:\\" + name.encode("cp1252", "replace").decode("cp1252")
        assert (res.code, res.cwd) == (EXIT_NORMAL, shown), res.raw
        assert vantor.reg_query("history_0").lstrip("\x01") == "U:\\" + name.replace("é", "‚")


def test_stores_written_in_oem_bytes_load_as_before(vantor):
    """A settings file and a registry key as earlier builds wrote them: Café
    as the OEM byte 0x82, and in the registry that byte as ANSI text."""
    root = unicode_tree(vantor)
    settings = vantor.scratch / "old.dat"
    image = bytearray(10736)
    for i, path in enumerate([b"U:\\Caf\x82", b"U:\\"]):
        image[256 * i] = len(path)
        image[256 * i + 1:256 * i + 1 + len(path)] = path
    image[10720] = 1
    settings.write_bytes(bytes(image))
    vantor.reg_add("history_0", "U:\\Caf‚")
    vantor.reg_add("history_1", "U:\\")
    for env in ({"VANTOR": vantor.win(settings)}, None):
        res = vantor.shell("-1", start=root, env=env)
        assert (res.code, res.cwd) == (EXIT_NORMAL, "U:\\Café"), res.raw
    data = settings.read_bytes()
    assert (data[:8], data[256:260]) == (b"\x07U:\\Caf\x82", b"\x03U:\\")
    assert [vantor.reg_query("history_%d" % i) for i in range(3)] == ["U:\\Caf‚", "U:\\", ""]
