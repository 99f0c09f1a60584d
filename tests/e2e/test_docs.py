"""The manual's examples under Wine, read from the pages themselves, so a
page that drifts from the program fails here.

- Sessions: a <pre> block that begins with a prompt and a command
  (`C:\\Users> c newdir`) is typed, command by command, into a cmd in a
  console over the sample tree (samples/tree.txt, the pages' C: mapped as
  S:), answering each menu or question as the page shows; the screen must
  read exactly as the block.
- The examples table of matching.html: each `c ...` must land in, or offer
  in its menu, exactly the directories of the tree that its row names."""

import html
import re
import time

import pytest

from vantor_e2e import DEFAULT_TIMEOUT, EXIT_NORMAL, REPO, Keys, batch_escape

MANUAL = REPO / "docs" / "manual"
SAMPLE_TREE = [line for line in (REPO / "samples" / "tree.txt").read_text().splitlines()
               if line and not line.startswith("#")]
# Every directory of the tree, those above the listed ones too.
SAMPLE_DIRS = {"\\".join(parts[:n]) for parts in (line.split("\\") for line in SAMPLE_TREE)
               for n in range(1, len(parts) + 1)}
PROMPT = re.compile(r"^(?P<dir>[A-Z]:\\[^>]*)>(?: (?P<command>.*))?$")
# A menu's or the creation question's last line, with the answer the page shows.
ANSWER = re.compile(r"^(?P<question>.*(?:Escape to exit\)\? |\[y/N\] \? ))(?P<answer>\S+)$")
KEYS = {"Exit": Keys.ESC, "Yes": "y", "No": "n"}


def page(name):
    return (MANUAL / name).read_text(encoding="cp1252")


def on_drive_s(text):
    """The pages speak of drive C:; the tests map the sample tree as S:."""
    return text.replace("C:\\", "S:\\")


def find_sessions():
    found = []
    for path in sorted(MANUAL.glob("*.html")):
        for block in re.findall(r"<pre>(.*?)</pre>", page(path.name), re.S):
            lines = html.unescape(block).splitlines()
            first = PROMPT.match(lines[0])
            if first and first.group("command"):
                found.append(pytest.param(lines, id="%s: %s" % (path.stem, lines[0])))
    return found


def find_matching_examples():
    text = page("matching.html")
    table = text[text.index("<h2>Examples</h2>"):].split("</table>")[0]
    rows = re.findall(r"<tr><td><code>c ([^<]*)</code></td><td>(.*?)</td></tr>", table, re.S)
    code = re.compile(r"<code>([^<]*)</code>")
    return [pytest.param(html.unescape(typed), [html.unescape(name) for name in code.findall(said)],
                         id=typed) for typed, said in rows]


SESSIONS = find_sessions()
MATCHING_EXAMPLES = find_matching_examples()
assert SESSIONS and MATCHING_EXAMPLES, "no examples found in docs/manual: has the markup changed?"


@pytest.fixture
def sample_drive(vantor):
    """samples/tree.txt as drive S:; returns its Linux folder."""
    root = vantor.tree(SAMPLE_TREE, vantor.scratch / "sample")
    vantor.map_drive("S", root)
    return root


def echo_escape(text):
    """text for an echo line of a batch file, to be printed as it stands."""
    return re.sub(r"([&|<>^])", r"^\1", batch_escape(text))


def session_driver(vantor, lines):
    """Driver lines that print each prompt line and run its command: `c`
    through the wrapper, bare in a subroutine as typed at a prompt (so
    that errorlevel survives), anything else as cmd's own command."""
    driver = ['cd /d "%s"' % on_drive_s(PROMPT.match(lines[0]).group("dir"))]
    subroutines = []
    for line in lines:
        prompt = PROMPT.match(line)
        if not prompt:
            continue
        command = on_drive_s(prompt.group("command") or "")
        driver.append("echo %CD%^>" + (" " + echo_escape(command) if command else ""))
        if command.startswith("c "):
            label = ":typed%d" % len(subroutines)
            driver.append("call " + label)
            subroutines += [label, '"%s" %s' % (vantor.wrapper(), command[2:])]
        elif command:
            driver.append(command)
    return driver + ["exit /b 0"] + subroutines


def wait_count(console, text, count):
    """Wait until text stands on the screen `count` times."""
    deadline = time.monotonic() + DEFAULT_TIMEOUT
    while console.screen_text().count(text) < count:
        if time.monotonic() > deadline or not console.pump(0.1):
            raise AssertionError("%r not shown %d times:\n%s"
                                 % (text, count, console.screen_text()))


@pytest.mark.parametrize("lines", SESSIONS)
def test_session_reads_as_the_page_shows(vantor, sample_drive, lines):
    expected = [on_drive_s(line).rstrip() for line in lines]
    console = vantor.spawn_cmd(session_driver(vantor, lines), rows=50)
    try:
        asked = {}
        for line in expected:
            answer = ANSWER.match(line)
            if answer:
                question = answer.group("question").rstrip()
                asked[question] = asked.get(question, 0) + 1
                wait_count(console, question, asked[question])
                console.send(KEYS.get(answer.group("answer"), answer.group("answer")), pause=0.2)
        console.wait_exit()
    finally:
        console.close()
    shown = [line.rstrip() for line in console.display]
    while shown and not shown[-1]:
        shown.pop()
    assert shown == expected


@pytest.mark.parametrize("typed, named", MATCHING_EXAMPLES)
def test_matching_example_finds_what_its_row_names(vantor, sample_drive, typed, named):
    # The row speaks of a directory holding Program Files, ProgramData,
    # Users and Windows: the root of the sample tree.
    expected = ["S:\\" + name for name in dict.fromkeys(named) if name in SAMPLE_DIRS]
    res = vantor.typed(typed, start="S:\\")
    assert res.code == EXIT_NORMAL, res.text
    landed = re.match(rb'S:\r\nchdir "(.*)"\r\n$', res.handoff)
    if landed:
        # A name typed whole is entered as typed: Windows keeps the case.
        assert [("S:" + landed.group(1).decode()).lower()] == [path.lower() for path in expected]
    else:
        offered = [path for line in res.lines
                   for path in re.findall(r"\[\w\] (S:\\.*?) *(?=\[\w\] |$)", line)]
        assert offered == expected
