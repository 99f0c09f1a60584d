"""Tab completion: `vantor.exe --complete WORD` under Wine (every kind of
word, and nothing stored, handed off or created by it), and the completer
c-completion.ps1 in PowerShell 7 over it, asked through TabExpansion2 as the
console asks it.

Not shown here: a start directory too deep to be read back, since Wine
starts no program there (the unit tests cover it over the in-memory
system)."""

import os

from powershell import PowerShell, completions, snapshot, step, value
from vantor_e2e import EXIT_NORMAL, OEM, reg_root, REG_KEY

SETTINGS_SIZE = 10736


def listing(vantor, words, cwd, env=None):
    """What --complete prints for words (a list of arguments), as lines."""
    res = vantor.run(["--complete"] + words, cwd=cwd, env=env)
    assert res.code == EXIT_NORMAL, (words, res.text)
    assert res.text == "" or res.text.endswith("\r\n"), res.text
    return res.text.split("\r\n")[:-1]


def import_values(vantor, values):
    """Put REG_SZ values under the program's key in one `reg import`."""
    lines = ['"%s"="%s"' % (name, text.replace("\\", "\\\\")) for name, text in values.items()]
    reg = vantor.scratch / "values.reg"
    reg.write_text("Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n%s\r\n\r\n"
                   % (reg_root(REG_KEY), "\r\n".join(lines)), encoding="utf-16")
    vantor.prefix.reg("import", vantor.win(reg), check=True)


def files_below(folder):
    """Every file and directory below folder, with the bytes and time of
    each file."""
    found = {}
    for base, dirnames, filenames in os.walk(folder):
        for name in dirnames:
            found[os.path.join(base, name)] = None
        for name in filenames:
            path = os.path.join(base, name)
            with open(path, "rb") as stored:
                found[path] = (stored.read(), os.stat(path).st_mtime_ns)
    return found


def settings_image(history):
    """A settings file holding `history`, with reserved bytes that a
    rewrite would not keep as they are."""
    image = bytearray(SETTINGS_SIZE)
    for i, path in enumerate(history):
        raw = path.encode(OEM)
        image[256 * i] = len(raw)
        image[256 * i + 1:256 * i + 1 + len(raw)] = raw
    image[10716:10720] = b"\x11\x22\x33\x44"
    image[10720] = 1
    return bytes(image)


def test_every_kind_of_word_lists_where_c_would_go_and_changes_nothing(vantor, overview_tree):
    sroot = vantor.scratch / "sroot"
    vantor.tree(["Users\\Café"], sroot)
    import_values(vantor, {"aliasname_1": "proj", "aliasdir_1": "S:\\ProgramData\\Corp",
                           "history_0": "S:\\Users", "history_1": "S:\\Windows",
                           "history_2": "S:\\Gone"})
    vantor.handoff_path.write_bytes(b"sentinel\r\n")
    stored = vantor.reg_export()
    watched = [sroot, vantor.temp, vantor.bin]
    before = [files_below(folder) for folder in watched]

    assert listing(vantor, ["pr\\co"], sroot) == ["S:\\Program Files\\Common Files",
                                                  "S:\\ProgramData\\Corp"]
    assert listing(vantor, ["Program", "Files"], sroot) == ["S:\\Program Files"]
    assert listing(vantor, ["proj"], sroot) == ["S:\\ProgramData\\Corp"]
    assert listing(vantor, ["\\us\\caf"], sroot / "Windows") == ["S:\\Users\\Café"]
    # The history behind the front entry, which is the start directory once
    # the run would have recorded it; an entry that cannot be entered is left out.
    assert listing(vantor, ["-"], sroot) == ["S:\\Users", "S:\\Windows"]
    # "-N": the one entry c -N enters; nothing where it cannot be entered.
    assert listing(vantor, ["-1"], sroot / "Users") == ["S:\\Windows"]
    assert listing(vantor, ["-2"], sroot / "Users") == []
    # Drive Q does not exist: relative to it, the start directory stands in.
    assert listing(vantor, ["q:us"], sroot) == ["S:\\Users"]
    res = vantor.run(["--COMPLETE", "usr"], cwd=sroot)
    assert (res.code, res.stdout) == (EXIT_NORMAL, b"S:\\Users\r\n")
    # Nothing: the root of a missing drive, an invalid drive letter, no
    # word, another option, no match.
    for words in (["Q:\\us"], ["5:abc"], [], ["-a"], ["\\Windows\\nothing"]):
        assert listing(vantor, words, sroot) == [], words

    assert vantor.handoff() == b"sentinel\r\n"
    assert vantor.reg_export() == stored
    assert [files_below(folder) for folder in watched] == before


def test_a_settings_file_or_key_is_read_and_never_created_or_written(vantor, overview_tree):
    sroot = vantor.scratch / "sroot"
    settings = vantor.scratch / "vantor.dat"
    env = {"VANTOR": vantor.win(settings)}
    vantor.reg_delete()
    assert listing(vantor, ["-"], sroot) == []
    assert listing(vantor, ["-"], sroot, env) == []
    assert vantor.reg_export() is None, "the key was created"
    assert not settings.exists()

    image = settings_image(["S:\\Users", "S:\\Windows"])
    settings.write_bytes(image)
    before = files_below(vantor.scratch)
    assert listing(vantor, ["-"], sroot, env) == ["S:\\Users", "S:\\Windows"]
    assert files_below(vantor.scratch) == before
    assert vantor.reg_export() is None
    assert vantor.handoff() is None


def test_the_powershell_completer_offers_the_menus_entries(vantor, overview_tree):
    sroot = vantor.scratch / "sroot"
    blanks, specials = "my docs", "it's $5 [x]"
    vantor.tree(["Users\\" + blanks, "Users\\" + specials], sroot)
    ps = PowerShell(vantor)
    session = ps.run([
        snapshot("before"),
        ". c-completion.ps1",
        value(completions("c pr\\co")),
        value(completions("c.ps1 'S:\\Program Files\\co")),
        value(completions("c \\us\\my")),
        value(completions("c \\us\\it")),
        value(completions("c \\Windows\\nothing")),
        # The lines the completions above make.
        step("c 'S:\\Users\\my docs'"),
        step("c 'S:\\Users\\it''s $5 [x]'"),
        value(completions("c -")),
        snapshot("after"),
    ], start="S:\\")
    assert session.code == 0, session.text
    menu, quoted, blank, special, nothing, history = session.values
    assert menu == ["'S:\\Program Files\\Common Files'\tS:\\Program Files\\Common Files\t"
                    "ProviderContainer",
                    "S:\\ProgramData\\Corp\tS:\\ProgramData\\Corp\tProviderContainer"]
    assert quoted == [menu[0]], "the word typed in quotes"
    assert blank == ["'S:\\Users\\my docs'\tS:\\Users\\my docs\tProviderContainer"]
    assert special == ["'S:\\Users\\it''s $5 [x]'\tS:\\Users\\it's $5 [x]\tProviderContainer"]
    assert nothing == []
    landed = [s.location for s in session.steps]
    assert landed == ["S:\\Users\\" + blanks, "S:\\Users\\" + specials]
    assert [s.folder for s in session.steps] == [str(sroot / "Users" / blanks),
                                                 str(sroot / "Users" / specials)]
    assert [entry.split("\t")[0] for entry in history] == ["'S:\\Users\\my docs'", "S:\\"]
    assert session.snapshots["after"] == session.snapshots["before"]


def test_the_completer_offers_only_where_c_with_the_line_goes(vantor, overview_tree):
    """Only the argument under the cursor is replaced: after an earlier
    one, or where c would end with an error or Vantor finds nothing for a
    wildcard, the line stays as typed and PowerShell's own completion of
    file names does not take over (it would offer S:\\Windows\\sys\\zz.txt)."""
    sroot = vantor.scratch / "sroot"
    vantor.tree(["Windows\\sys"], sroot)
    (sroot / "Windows" / "sys" / "zz.txt").write_bytes(b"")
    import_values(vantor, {"history_0": "S:\\Users", "history_1": "S:\\Windows"})
    ps = PowerShell(vantor)
    session = ps.run([
        ". c-completion.ps1",
        value(completions("c program files\\co")),
        value(completions("c pr\\co ")),
        value(completions("c -99")),
        value(completions("c \\Windows\\*\\zz")),
        value(completions("c -2")),
        step("c -2"),
        # Wine's warnings on the program's error output stay off the line.
        step("Remove-Item Env:WINEDEBUG"),
        value(completions("c \\pr\\co")),
        step("$null"),
    ], start="S:\\")
    assert session.code == 0, session.text
    earlier, blank, invalid, wildcard, entry, menu = session.values
    assert earlier == ["files\\co\tfiles\\co\tText"]
    assert blank == [" \t \tText"]
    assert invalid == ["-99\t-99\tText"]
    assert wildcard == ["\\Windows\\*\\zz\t\\Windows\\*\\zz\tText"]
    went, _, quiet = session.steps
    assert entry == ["S:\\Windows\tS:\\Windows\tProviderContainer"]
    assert went.location == "S:\\Windows"
    assert len(menu) == 2, menu
    assert quiet.output == b"", quiet.output
