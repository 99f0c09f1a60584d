"""c.ps1, the wrapper for PowerShell, run unchanged in PowerShell 7 (pwsh on
Linux) with vantor.exe under Wine behind it: the session's location after
`c`, the exit code as $LASTEXITCODE and $?, names PowerShell or cmd treat
specially, the menu in a pseudo-terminal, nothing left in the session.
Without Wine: the hand-off files the program can write (network paths,
other code pages) read through the script's own functions, and the
script's syntax checked against what Windows PowerShell 5.1 knows."""

import shutil
import time

import pytest

from powershell import (PowerShell, completer_ps1, dot_sourced, ps_quote, pwsh_env, run_pwsh,
                        snapshot, snapshot_lines, step, value, wrapper_ps1)
from vantor_e2e import DEFAULT_TIMEOUT, EXIT_DECLINED, EXIT_RUN_ERROR, EXIT_SCREEN_SHOWN, Keys

PROMPT = "Change directory to (a-b or Escape to exit)? "
MENU_ROW = "[a] %-35s[b] %-35s" % ("S:\\Program Files\\Common Files", "S:\\ProgramData\\Corp")
INVALID_DRIVE_5 = "Vantor: Invalid drive letter '5' (valid drives are A: through Z:)\n"
HELP_SYNOPSIS = "Changes the location of this PowerShell session with Vantor."


@pytest.fixture
def ps(vantor):
    return PowerShell(vantor)


def outcome(step_result):
    return step_result.ok, step_result.code, step_result.location


def test_c_moves_the_session_and_hands_on_the_exit_code(vantor, overview_tree, ps):
    # A file in TEMP that no run of this session wrote never moves it.
    vantor.handoff_path.write_bytes(b'S:\r\nchdir "\\Windows"\r\n')
    session = ps.run([
        snapshot("before"),
        step("c"),
        step("c usr"),
        step("c 5:abc"),
        step("c -"),
        # Nothing matches; the offer to create the one candidate reads no
        # key from /dev/null and is declined.
        "Set-Location -LiteralPath 'S:\\Program Files'",
        step("c --complete x"),
        step("c *\\newdir"),
        step("c '-?'"),
        step("vantor.exe -?"),
        "$global:LASTEXITCODE = 7",
        step("c -?"),
        value("@((Get-Command c).CommandType.ToString(), (Get-Command c).Source)"),
        snapshot("after"),
    ], start="S:\\")
    assert session.code == 0, session.text
    shown, users, invalid, back, listing, declined, usage, usage_exe, help_ = session.steps

    assert outcome(shown) == (True, 0, "S:\\") and shown.output == b"S:\\\n"
    assert outcome(users) == (True, 0, "S:\\Users") and users.output == b""
    assert users.folder.rstrip("/") == str(vantor.scratch / "sroot" / "Users")
    assert outcome(invalid) == (False, EXIT_RUN_ERROR, "S:\\Users")
    assert invalid.output.decode() == INVALID_DRIVE_5
    assert outcome(back) == (True, 0, "S:\\")
    assert outcome(listing) == (True, 0, "S:\\Program Files")
    assert outcome(declined) == (False, EXIT_DECLINED, "S:\\Program Files")
    assert declined.output.startswith(b"Vantor: No directories found matching '*\\newdir'")
    # The runs of c took their files with them; vantor.exe run directly
    # wrote its usual one.
    assert vantor.temp_names() == ["vantor2.bat"] and vantor.handoff() == b"rem\r\n"
    assert not (vantor.scratch / "sroot" / "Program Files" / "Common Files" / "newdir").exists()

    # Quoted, -? reaches the program (its usage screen); unquoted,
    # PowerShell shows the script's help and the program does not run.
    for screen in (usage, usage_exe):
        assert outcome(screen) == (False, EXIT_SCREEN_SHOWN, "S:\\Program Files")
        assert b" Vantor v3.3 (64bit) " in screen.output
    assert outcome(help_) == (True, 7, "S:\\Program Files")
    assert HELP_SYNOPSIS.encode() in help_.output and b"Vantor v3.3" not in help_.output
    assert session.values == [["ExternalScript", str(ps.script)]]

    before, after = session.snapshots["before"], session.snapshots["after"]
    assert {"function prompt", "errors 0"} <= before
    assert "drive S=%s" % (vantor.scratch / "sroot") in before
    assert after == before


NAMES = ["[draft]", "100%", "a%PATH%b", "x%%y", "it's", "$x", "a`b", "50% off & (more)",
         "Menü [1]", "Café"]


def test_names_powershell_or_cmd_treat_specially_are_entered_as_written(vantor, overview_tree,
                                                                         ps):
    users = vantor.scratch / "sroot" / "Users"
    vantor.tree(NAMES, users)
    lines = []
    for name in NAMES:
        lines += [step("c " + ps_quote(name)), "Set-Location -LiteralPath 'S:\\Users'"]
    # Found by the search, not as typed: abbreviations over two levels.
    lines += ["Set-Location -LiteralPath 'S:\\'", step("c \\us\\caf")]
    session = ps.run(lines, start="S:\\Users")
    assert session.code == 0, session.text
    assert len(session.steps) == len(NAMES) + 1, session.text
    for name, reached in zip(NAMES + ["Café"], session.steps):
        assert outcome(reached) == (True, 0, "S:\\Users\\" + name), reached
        assert reached.folder == str(users / name)
    assert vantor.temp_names() == []


def test_a_trailing_backslash_names_the_directory_itself(vantor, overview_tree, ps):
    # PowerShell's Tab completion ends a directory with \; quoted for the
    # command line, the backslash would come doubled (\\: every subdirectory).
    vantor.tree(["a b\\inner", "50% off & (more)\\inner"], vantor.scratch / "sroot" / "Users")
    session = ps.run([step("c 'a b\\'"), step("c '.\\50% off & (more)\\'"),
                      step("c 'S:\\Users\\a b\\'")], start="S:\\Users")
    assert session.code == 0, session.text
    # A lone "." is the parent to Vantor, as in cmd: .\x is ..\x.
    assert [outcome(s) for s in session.steps] == [
        (True, 0, "S:\\Users\\a b"), (True, 0, "S:\\Users\\50% off & (more)"),
        (True, 0, "S:\\Users\\a b")], session.text


def test_a_network_path_is_entered(vantor, overview_tree, ps):
    share = vantor.map_share("srv", "share", vantor.scratch / "share")
    (vantor.scratch / "share" / "proj").mkdir()
    # Through an alias: typed, a leading \\ stands for every subdirectory.
    session = ps.run([step("c -a proj %s" % ps_quote(share + "\\proj")), step("c proj")],
                     start="S:\\")
    assert session.code == 0, session.text
    defined, entered = session.steps
    assert outcome(defined)[:2] == (True, 0) and entered.ok and entered.code == 0
    assert entered.folder == str(vantor.scratch / "share" / "proj")
    assert vantor.temp_names() == []
    assert vantor.run(["proj"]).handoff == b'pushd "\\\\srv\\share\\proj"\r\n'


def wait_for(condition, console, what):
    deadline = time.monotonic() + DEFAULT_TIMEOUT
    while not condition():
        if time.monotonic() > deadline or not console.pump(0.1):
            raise AssertionError("%s did not come:\n%s" % (what, console.screen_text()))


def fresh_prompt(console):
    """True while a menu waits for its key (its prompt line not yet answered)."""
    return any(line.rstrip() == PROMPT.rstrip() for line in console.display)


def test_menu_in_a_terminal_moves_the_session_or_leaves_it(vantor, overview_tree, ps):
    lines = [step("c pr\\co", log=ps.log), step("c -", log=ps.log),
             step("c pr\\co", log=ps.log)]
    console = ps.spawn(lines, start="S:\\", rows=30)
    try:
        row, _ = console.wait_text(PROMPT)
        # The program owns the console: the menu is drawn in its colours.
        assert console.display[row - 2][:78] == MENU_ROW
        assert console.attr_of("[b]") == 10
        console.send("b")
        wait_for(lambda: len(ps.logged_steps()) == 2 and fresh_prompt(console), console,
                 "the second menu")
        console.send(Keys.ESC, pause=0.2)
        console.wait_text(PROMPT + "Exit")
        assert console.wait_exit() == 0
    finally:
        console.close()
    picked, back, left = ps.logged_steps()
    assert outcome(picked) == (True, 0, "S:\\ProgramData\\Corp")
    assert outcome(back) == (True, 0, "S:\\")
    assert outcome(left) == (True, 0, "S:\\")
    assert vantor.temp_names() == []


# ---------------------------------------------------------------- no Wine

# Hand-off file bytes, the code page they are read in, and the directory
# the script makes of them (None: the location stays).
HAND_OFF_FILES = [
    (b"rem\r\n", 437, None),
    (b'C:\r\nchdir "\\Work\\src"\r\n', 437, "C:\\Work\\src"),
    (b'd:\r\nchdir "\\sub"\r\n', 437, "d:\\sub"),
    (b'D:\r\nchdir "\\"\r\n', 437, "D:\\"),
    (b'pushd "\\\\srv\\share\\dir"\r\n', 437, "\\\\srv\\share\\dir"),
    (b'chdir "\\\\srv\\share\\dir"\r\n', 437, "\\\\srv\\share\\dir"),  # as older versions wrote it
    (b'chdir "\\\\srv\\share"', 437, "\\\\srv\\share"),  # no line end
    (b'C:\r\nchdir "\\100%%\\a%%PATH%%b\\x%%%%y"\r\n', 437, "C:\\100%\\a%PATH%b\\x%%y"),
    (b'C:\r\nchdir "\\it\'s [1] $x `b"\r\n', 437, "C:\\it's [1] $x `b"),
    (b'C:\r\nchdir "\\Caf\x82\\\xe9"\r\n', 437, "C:\\Café\\Θ"),
    (b'C:\r\nchdir "\\Caf\x82\\\xe9"\r\n', 850, "C:\\Café\\Ú"),
    # Double-byte: the second byte of 表 is a backslash.
    (b'C:\r\nchdir "\\\x95\x5c\\\x82\x61"\r\n', 932, "C:\\表\\Ｂ"),
    ('C:\r\nchdir "\\Café"\r\n'.encode("utf-8"), 65001, "C:\\Café"),
    # Nothing the program writes: the location stays.
    (b"", 437, None),
    (b"C:\r\n", 437, None),
    (b'C:\r\nchdir "Work"\r\n', 437, None),
    (b'chdir "\\Work"\r\n', 437, None),
    (b'pushd "\\Work"\r\n', 437, None),
    (b'C:\r\npushd "\\Work"\r\n', 437, None),
    (b'C:\r\nchdir "\\a"\r\nchdir "\\b"\r\n', 437, None),
    (b"echo hi\r\n", 437, None),
]

# The culture's OEM code page stands in where there is no registry.
CULTURES = [("", 437), ("en-US", 437), ("de-DE", 850), ("ru-RU", 866), ("ja-JP", 932)]


def byte_array(raw):
    return "([byte[]]@(%s))" % ",".join("0x%02X" % b for b in raw)


def test_hand_off_files_as_the_script_reads_them(tmp_path):
    lines = [value("Get-VantorTarget %s ([Text.Encoding]::GetEncoding(%d))" % (byte_array(raw), cp))
             for raw, cp, _ in HAND_OFF_FILES]
    for culture, _ in CULTURES:
        lines.append("[Globalization.CultureInfo]::CurrentCulture = %s; %s" % (
            ps_quote(culture), value("(Get-VantorEncoding).CodePage")))
    session = dot_sourced(wrapper_ps1(), lines, tmp_path)
    assert session.code == 0, session.text
    targets, code_pages = session.values[:len(HAND_OFF_FILES)], session.values[len(HAND_OFF_FILES):]
    for (raw, cp, expected), target in zip(HAND_OFF_FILES, targets):
        assert target == expected, (raw, cp)
    assert code_pages == [cp for _, cp in CULTURES]
    # Dot-sourced, the script ran nothing.
    assert session.steps == [] and "Vantor" not in session.text


# An argument, the PowerShell version, and what the script hands on so that
# the program reads what was typed.
PASSED_ARGUMENTS = [
    ("a b\\", 7, "a b"),
    ("a b\\\\", 7, "a b\\"),
    ("\\\\srv\\my share\\", 7, "\\\\srv\\my share"),
    ("ab\\", 7, "ab\\"),  # no blank: no quotes around it
    ("a X:\\", 7, "a X:\\"),  # a drive root
    ("a b\\", 5, "a b\\"),  # Windows PowerShell 5.1 doubles nothing
]


def test_arguments_as_the_script_hands_them_on(tmp_path):
    lines = [value("Get-VantorArgument %s %d" % (ps_quote(argument), major))
             for argument, major, _ in PASSED_ARGUMENTS]
    session = dot_sourced(wrapper_ps1(), lines, tmp_path)
    assert session.code == 0, session.text
    assert session.values == [passed for _, _, passed in PASSED_ARGUMENTS]


def test_the_file_counts_only_after_exit_code_zero(tmp_path):
    root, temp = tmp_path / "root", tmp_path / "Temp"
    (root / "Users").mkdir(parents=True)
    (root / "Café").mkdir()
    temp.mkdir()
    alone = tmp_path / "alone"
    alone.mkdir()
    shutil.copyfile(wrapper_ps1(), alone / "c.ps1")
    bin_ = tmp_path / "bin"
    bin_.mkdir()
    shutil.copyfile(wrapper_ps1(), bin_ / "c.ps1")
    # A vantor.exe that writes the hand-off file it is given (none when it
    # is empty, as a listing) where the wrapper names it, and ends with the
    # exit code it is given.
    fake = bin_ / "vantor.exe"
    fake.write_text('#!/bin/sh\n[ -n "$VANTOR_TEST_FILE" ] && printf "$VANTOR_TEST_FILE" '
                    '>"$VANTOR_HANDOFF"\nexit "$VANTOR_TEST_CODE"\n')
    # A file in TEMP that no run of this session wrote is never read.
    (temp / "vantor2.bat").write_bytes(b'S:\r\nchdir "\\Users"\r\n')
    fake.chmod(0o755)
    c = ps_quote(str(bin_ / "c.ps1"))
    users = r'S:\r\nchdir "\\Users"\r\n'
    cafe = r'S:\r\nchdir "\\Caf\202"\r\n'  # é in code page 437
    lines = snapshot_lines() + [
        "$null = New-PSDrive -Name S -PSProvider FileSystem -Root %s" % ps_quote(str(root)),
        "Set-Location -LiteralPath 'S:\\'",
        "$env:VANTOR_TEST_FILE = ''", "$env:VANTOR_TEST_CODE = '0'", step("& " + c + " x"),
        "$env:VANTOR_TEST_FILE = %s" % ps_quote(users),
        "$env:VANTOR_TEST_CODE = '1'", step("& " + c + " x"),
        "$env:VANTOR_TEST_CODE = '243'", step("& " + c + " x"),
        "$env:VANTOR_TEST_CODE = '0'", step("& " + c + " x"),
        "$env:VANTOR_TEST_FILE = %s" % ps_quote(cafe), step("& " + c + " x"),
        "$global:LASTEXITCODE = 0",
        step("& " + ps_quote(str(alone / "c.ps1")) + " x"),
    ]
    session = run_pwsh(lines, pwsh_env({"TEMP": str(temp)}), tmp_path)
    assert session.code == 0, session.text
    listing, one, run_error, users_step, cafe_step, missing = session.steps
    assert outcome(listing) == (True, 0, "S:\\")
    assert outcome(one) == (False, 1, "S:\\")
    assert outcome(run_error) == (False, 243, "S:\\")
    assert outcome(users_step) == (True, 0, "S:\\Users")
    assert outcome(cafe_step) == (True, 0, "S:\\Café")
    assert cafe_step.folder == str(root / "Café")
    # Without vantor.exe beside it the script says so and changes nothing.
    assert outcome(missing) == (False, 1, "S:\\Café")
    assert b"vantor.exe is missing beside" in missing.output
    assert sorted(p.name for p in temp.iterdir()) == ["vantor2.bat"]


# Syntax that Windows PowerShell 5.1 does not parse, and parameters it
# lacks, as PowerShell 7's parser names them.
NEWER_TOKENS = {"QuestionQuestion", "QuestionQuestionEquals", "QuestionDot", "QuestionLBracket",
                "AndAnd", "OrOr", "Clean"}
NEWER_SYNTAX = {"TernaryExpressionAst", "PipelineChainAst"}
NEWER_PARAMETERS = {"AsByteStream", "Parallel", "AsHashtable", "SkipHeader", "NoEnumerate"}


@pytest.mark.parametrize("script", [wrapper_ps1(), completer_ps1()], ids=["c", "completion"])
def test_the_script_keeps_to_windows_powershell_5_1(tmp_path, script):
    raw = script.read_bytes()
    # 5.1 reads a file without a byte-order mark in the ANSI code page.
    assert raw.isascii()
    parsed = "[System.Management.Automation.Language.Parser]::ParseFile(%s, [ref]$t, [ref]$e)" % (
        ps_quote(str(script)))
    session = run_pwsh([
        "$t = $null; $e = $null; $ast = " + parsed,
        value("@($e | ForEach-Object { $_.Message })"),
        value("@($t | ForEach-Object { [string]$_.Kind } | Sort-Object -Unique)"),
        value("@($ast.FindAll({ $true }, $true) | ForEach-Object { $_.GetType().Name } | "
              "Sort-Object -Unique)"),
        value("@($ast.FindAll({ $args[0] -is [System.Management.Automation.Language."
              "CommandParameterAst] }, $true) | ForEach-Object { $_.ParameterName })"),
    ], pwsh_env(), tmp_path)
    errors, tokens, syntax, parameters = session.values
    assert errors == []
    assert "Variable" in tokens and "CommandAst" in syntax and parameters  # the script's lists
    assert not NEWER_TOKENS & set(tokens)
    assert not NEWER_SYNTAX & set(syntax)
    assert not NEWER_PARAMETERS & set(parameters)
