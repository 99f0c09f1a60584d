"""Options under Wine: the usage and welcome screens, the launch options
with and without a program to open their document (the clipboard keeps the
text of a failed launch), Explorer, the command line as typed through the
wrapper, and the exit report of a fatal error (through the fault_trap tool,
which installs the same report as the program)."""

import shutil
import subprocess

import pytest

from vantor_e2e import (EXIT_NORMAL, EXIT_SCREEN_SHOWN, EXIT_UNHANDLED_ERROR, HANDOFF_RESET,
                        Keys, tools_dir, vantor_exe)

BANNER = " Vantor v3.3 (64bit) Copyright (c) Orbwell Software "
MORE_PROMPT = " -- Press [Esc] to exit or any other key to continue -- "
LAUNCH_FAILED = "Shell command failed. It has been copied to the clipboard."

WELCOME = [
    BANNER,
    "",
    "Vantor is the ultimate replacement for DOS's CD command. You can abbreviate",
    "directories, save aliases for frequently-used directories, access a history",
    "of directories visited, automatically create a directory if it doesn't exist",
    "and much more. No index files required! It even matches typos!",
    "",
    "For updates, information, mailing lists and other products, see our web page -",
    "  https://www.example.com/",
    "",
    "Send us email with your comments, suggestions or bug reports at",
    "  support@example.com",
]


def tool(name):
    path = tools_dir() / name
    if not path.is_file():
        pytest.fail("test helper %s is missing: build the Windows targets" % path, pytrace=False)
    return path


def run_to_file(vantor, args, cwd):
    """Runs the program with its output sent to a file: a program it starts
    (Explorer, the help viewer) keeps the caller's output handles open, so
    a pipe would never close. Returns (exit code, output bytes)."""
    out = vantor.scratch / "launch.out"
    with open(out, "wb") as handle:
        res = vantor.prefix.call(["wine", str(vantor.exe)] + args, cwd=str(cwd), stdout=handle,
                                 stderr=subprocess.STDOUT, timeout=60)
    return res.returncode, out.read_bytes()


def launch_and_read_clipboard(vantor, option, cwd=None):
    """Runs the program with `option` and, at once after it, reads the
    clipboard: without a display Wine keeps the clipboard only while some
    process holds it, so the reader must start within about half a second.
    Returns (exit code, program output lines, clipboard text)."""
    reader = vantor.win(tool("read_clipboard.exe"))
    res = vantor.run_cmd(['"%s" %s' % (vantor.win(vantor.exe), option),
                          "echo @@rc=%errorlevel%",
                          '"%s"' % reader,
                          "echo.",
                          "echo @@clip=%errorlevel%"], cwd=cwd)
    head, _, rest = res.text.partition("@@rc=")
    code, _, rest = rest.partition("\r\n")
    clipboard, _, clip_code = rest.partition("\r\n@@clip=")
    assert clip_code.strip() == "0", "the clipboard held no text: %r" % res.text
    return int(code), head.split("\r\n")[:-1], clipboard


def test_usage_screen_on_a_tall_console(vantor):
    console = vantor.spawn(["-?"], rows=40)
    try:
        assert console.wait_exit() == EXIT_SCREEN_SHOWN
    finally:
        console.close()
    lines = console.display
    assert lines[0].rstrip() == BANNER.rstrip()
    assert console.attr(0, 1) == 14
    assert lines[1].strip() == "" and lines[2].rstrip() == "Usage:"
    assert console.attr(2, 0) == 7
    orbwell = console.find("c -orbwell")
    assert orbwell == (17, 2)
    assert lines[17][19:].rstrip() == "go to the Orbwell Software web site"
    assert lines[34].rstrip() == "  c \\   c D:..   c *   c \\T   c *\\*   c D:B*   c D:..\\*"
    assert console.find(MORE_PROMPT) is None
    assert vantor.handoff() == HANDOFF_RESET


def test_usage_screen_stops_on_25_rows_and_escape_ends_with_zero(vantor):
    console = vantor.spawn(["-?"], rows=25)
    try:
        assert console.wait_text(MORE_PROMPT) == (24, 0)
        assert console.attr(24, 1) == 14
        # Banner, blank line and the first 22 usage lines stand above it.
        assert console.display[23].rstrip() == (
            'can be "quoted". Environment variable VANTOR can be used to specify the')
        console.send(Keys.ESC, pause=0.2)
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    assert console.find("Examples:") is None


def test_welcome_screen(vantor):
    console = vantor.spawn(["-w"], rows=25)
    try:
        assert console.wait_exit() == EXIT_SCREEN_SHOWN
    finally:
        console.close()
    assert [line.rstrip() for line in console.display[:12]] == [w.rstrip() for w in WELCOME]
    assert console.attr_of("Vantor v3.3") == 14
    assert console.attr_of("Vantor is the ultimate") == 7
    assert console.attr_of("https://www.example.com/") == 14
    assert console.attr_of("support@example.com") == 14
    assert console.attr_of("Send us email") == 7
    # Redirected, the same lines reach the file, in any letter case of -w.
    res = vantor.run(["-W"])
    assert res.code == EXIT_SCREEN_SHOWN
    assert res.text == "\r\n".join(WELCOME) + "\r\n"


@pytest.mark.own_prefix
def test_home_page_without_a_browser(vantor):
    for scheme in ("http", "https"):
        vantor.prefix.reg("delete", "HKCR\\" + scheme, "/f", check=True)
    code, lines, clipboard = launch_and_read_clipboard(vantor, "-home")
    assert code == EXIT_UNHANDLED_ERROR
    assert lines == ["Starting Web browser for Vantor homepage", LAUNCH_FAILED,
                     "https://www.example.com/vantor/"]
    assert clipboard == "https://www.example.com/vantor/"
    code, lines, clipboard = launch_and_read_clipboard(vantor, "-ORBWELL")
    assert code == EXIT_UNHANDLED_ERROR
    assert lines[0] == "Starting Web browser to show Orbwell Software home page"
    assert clipboard == "https://www.example.com/"


def test_manual_missing_from_the_current_directory(vantor):
    empty = vantor.tree(["empty"]) / "empty"
    code, lines, clipboard = launch_and_read_clipboard(vantor, "-manual", cwd=empty)
    assert code == EXIT_UNHANDLED_ERROR
    assert lines == ["Starting program to display Vantor help manual", LAUNCH_FAILED,
                     "vantor.chm"]
    assert clipboard == "vantor.chm"
    # -hel is no abbreviation of -help but a history index.
    res = vantor.run(["-hel"], cwd=empty)
    assert res.text == "Vantor: Invalid history index 'hel' (valid values are 1 to 20).\r\n"


@pytest.mark.own_prefix
def test_explorer_ignores_the_rest_of_the_line(vantor):
    # Explorer goes on running; the private prefix's server ends it afterwards.
    code, output = run_to_file(vantor, ["-x", "anything", "at all"], vantor.scratch)
    assert code == EXIT_NORMAL
    assert output == b"Starting Explorer in current directory\r\n"


def compiled_manual():
    chm = vantor_exe().parent / "vantor.chm"
    if not chm.is_file():
        pytest.fail("%s is missing: the Windows build compiles it" % chm, pytrace=False)
    return chm


def test_the_manual_is_a_compiled_help_file():
    chm = compiled_manual()
    assert chm.read_bytes()[:4] == b"ITSF"
    listing = subprocess.run(["chmls", "list", str(chm)], capture_output=True, text=True,
                             check=True).stdout
    for page in ("index.html", "usage.html", "matching.html", "menu.html", "history.html",
                 "aliases.html", "creation.html", "settings.html", "wrapper.html",
                 "exitcodes.html", "install.html", "toc.hhc", "index.hhk"):
        assert "/" + page in listing, page


@pytest.mark.own_prefix
def test_manual_opens_from_the_current_directory(vantor):
    folder = vantor.tree(["withchm"]) / "withchm"
    shutil.copy2(compiled_manual(), folder / "vantor.chm")
    for option in ("-manual", "-HELP"):
        code, output = run_to_file(vantor, [option], folder)
        assert code == EXIT_NORMAL
        assert output == b"Starting program to display Vantor help manual\r\n"


def test_command_line_as_typed_through_the_wrapper(vantor):
    start = vantor.win(vantor.tree(["start"]) / "start")
    shell = vantor.shell('""', start=start)
    assert (shell.code, shell.output, shell.cwd) == (EXIT_NORMAL, start.encode() + b"\r\n", start)
    # An option word counts only in the first argument. With creation off
    # the no-match report is all there is.
    vantor.reg_add("canCreatePath", 0, "REG_DWORD")
    shell = vantor.shell("abc -a", start=start)
    assert shell.code == EXIT_NORMAL
    assert shell.text == "Vantor: No directories found matching 'abc -a'\r\n"
    assert shell.cwd == start


@pytest.mark.parametrize("fault,number", [("stack", 202), ("access", 216), ("divide", 200),
                                          ("throw", 216), ("oom", 203)])
def test_exit_report_of_a_fatal_error(vantor, fault, number):
    trap = tool("fault_trap.exe")
    res = vantor.prefix.call(["wine", str(trap), fault, "..\\abc"], cwd=str(vantor.scratch),
                             stderr=subprocess.STDOUT, timeout=60)
    assert res.returncode == number
    expected = ["*** An error occurred ***"]
    if number == 202:
        expected.append("Stack overflow error")
    expected += ["",
                 "Please email the following information and a description of what you",
                 "were doing to support@example.com",
                 "",
                 "Program: Vantor  Version: 3.3",
                 "Command line: %s %s ..\\abc" % (vantor.win(trap), fault),
                 "Error number %d" % number,
                 ""]
    assert res.stdout.decode("cp437").split("\r\n") == expected


def test_ordinary_exits_print_nothing_from_the_report(vantor):
    res = vantor.prefix.call(["wine", str(tool("fault_trap.exe")), "none"],
                             cwd=str(vantor.scratch), stderr=subprocess.STDOUT)
    assert (res.returncode, res.stdout) == (0, b"")
    for args, code in ([["-w"], EXIT_SCREEN_SHOWN], [["-0"], 243], [[], EXIT_NORMAL]):
        res = vantor.run(args)
        assert res.code == code
        assert b"An error occurred" not in res.stdout
