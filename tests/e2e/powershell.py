"""PowerShell 7 (pwsh) on Linux running the shipped c.ps1, with vantor.exe
under Wine behind it.

c.ps1 sits in a folder of the test's own beside a stand-in named
vantor.exe: a shell script that runs the test's real vantor.exe under Wine
with the arguments it got. PowerShell starts it in the Linux folder of its
current location, which Wine turns into the start directory, and Wine takes
TEMP from the test's registry value, so `$env:TEMP` names the same folder on
the Linux side. Each Wine drive the test mapped becomes a PowerShell drive
of the same letter over the same folder: `Set-Location -LiteralPath
'S:\\Users'` in c.ps1 then lands where cmd would. A network path the test
mapped reaches its folder through a Set-Location function of the session.

A session is one pwsh start (~1 s): the test gives it lines of PowerShell,
and `step(command)` lines report after a command its `$?`, `$LASTEXITCODE`
and the location; `snapshot(label)` lines list what the session holds
(variables, functions, aliases, drives, modules, environment, the error
count) to prove a command left nothing behind.
"""

import json
import os
import shlex
import shutil
import subprocess
from dataclasses import dataclass, field
from pathlib import Path

import pexpect

from pty_console import Console
from wine_prefix import HarnessError

REPO = Path(__file__).resolve().parents[2]

MARK = "@@vantor-e2e-"
STEP_MARK = MARK + "step"
SNAPSHOT_MARK = MARK + "snapshot"
VALUE_MARK = MARK + "value"

# Global variables that change with every command typed, whatever it does
# (the error list is compared by its count).
VOLATILE_VARIABLES = ["?", "^", "$", "LASTEXITCODE", "PWD", "Error", "StackTrace"]

# Lists what the session holds, one entry a line; values as text (the
# error list by its count, which grows by one for each error written).
SNAPSHOT_BLOCK = r"""$vantorTestSnapshot = {
  Get-Variable -Scope Global |
    Where-Object { $vantorTestVolatile -notcontains $_.Name -and $_.Name -notlike 'vantorTest*' } |
    ForEach-Object { 'variable ' + $_.Name + '=' + [string]$_.Value }
  Get-ChildItem function: | ForEach-Object { 'function ' + $_.Name }
  Get-ChildItem alias: | ForEach-Object { 'alias ' + $_.Name + '=' + $_.Definition }
  Get-ChildItem env: | ForEach-Object { 'env ' + $_.Name + '=' + $_.Value }
  Get-PSDrive | ForEach-Object { 'drive ' + $_.Name + '=' + $_.Root }
  Get-Module | ForEach-Object { 'module ' + $_.Name }
  'errors ' + $Error.Count
}"""


def pwsh_path():
    """The pwsh under test: VANTOR_PWSH, or the one scripts/ installs."""
    return Path(os.environ.get("VANTOR_PWSH", REPO / ".tools" / "pwsh" / "pwsh"))


def wrapper_ps1():
    """The shipped PowerShell wrapper (VANTOR_PS_WRAPPER or the repository's)."""
    return Path(os.environ.get("VANTOR_PS_WRAPPER", REPO / "c.ps1"))


def completer_ps1():
    """The shipped completer (VANTOR_PS_COMPLETER or the repository's)."""
    return Path(os.environ.get("VANTOR_PS_COMPLETER", REPO / "c-completion.ps1"))


def completions(line):
    """An expression: what TabExpansion2 offers for `line` with the cursor at
    its end, as the console asks it, one "text<TAB>list item<TAB>type" each.
    The cursor's column counts UTF-16 units, as PowerShell's strings do."""
    return ("@((TabExpansion2 -inputScript %s -cursorColumn %d).CompletionMatches | "
            "ForEach-Object { $_.CompletionText + \"`t\" + $_.ListItemText + \"`t\" + "
            "$_.ResultType })" % (ps_quote(line), len(line.encode("utf-16-le")) // 2))


def ps_quote(text):
    """A PowerShell single-quoted string: nothing in it is expanded."""
    return "'" + text.replace("'", "''") + "'"


@dataclass
class Step:
    """What a `step` line reported after its command."""
    ok: bool  # $?
    code: int  # $LASTEXITCODE (None when unset)
    location: str  # (Get-Location).Path, with the separators as on Windows
    folder: str  # the Linux folder of that location
    output: bytes  # what the session printed since the line before


@dataclass
class Session:
    code: int
    raw: bytes
    steps: list = field(default_factory=list)
    snapshots: dict = field(default_factory=dict)  # label -> set of entries
    values: list = field(default_factory=list)  # what `value` lines gave, decoded

    @property
    def text(self):
        return self.raw.decode("utf-8", errors="replace")


def _step_from(fields, output):
    ok, code, location, folder = fields
    return Step(ok == "True", int(code) if code else None, location.replace("/", "\\"), folder,
                output)


def parse_session(code, raw):
    """A session from its exit code and output (lines ended by LF or CR LF;
    PowerShell's own lines are UTF-8, the program's OEM bytes)."""
    steps, snapshots, values, pending = [], {}, [], []
    for line in raw.replace(b"\r\n", b"\n").split(b"\n"):
        if line.startswith(VALUE_MARK.encode()):
            values.append(json.loads(line.decode("utf-8")[len(VALUE_MARK) + 1:]))
        elif line.startswith(STEP_MARK.encode()):
            fields = line.decode("utf-8")[len(STEP_MARK) + 1:].split("\t")
            steps.append(_step_from(fields, b"".join(pending)))
            pending = []
        elif line.startswith(SNAPSHOT_MARK.encode()):
            label, entry = line.decode("utf-8")[len(SNAPSHOT_MARK) + 1:].split("\t", 1)
            snapshots.setdefault(label, set()).add(entry)
        else:
            pending.append(line + b"\n")
    return Session(code, raw, steps, snapshots, values)


# pwsh without telemetry or update checks.
PWSH_SETTINGS = {"POWERSHELL_TELEMETRY_OPTOUT": "1", "POWERSHELL_UPDATECHECK": "Off",
                 "TERM": "xterm"}


def pwsh_env(extra=None):
    """The environment of a pwsh session without Wine: the caller's,
    without TEMP and VANTOR from the developer's shell."""
    env = {k: v for k, v in os.environ.items() if k not in ("TEMP", "TMP", "VANTOR")}
    env.update(PWSH_SETTINGS)
    env.update(extra or {})
    return env


def pwsh_command(lines):
    exe = pwsh_path()
    if not exe.is_file():
        raise HarnessError("pwsh not found at %s: scripts/test installs it (ensure_pwsh in "
                           "scripts/lib/common.sh), or set VANTOR_PWSH" % exe)
    return [str(exe), "-NoLogo", "-NoProfile", "-NonInteractive", "-Command", "\n".join(lines)]


def run_pwsh(lines, env, cwd, timeout=120):
    """One pwsh session running lines, standard input /dev/null."""
    res = subprocess.run(pwsh_command(lines), env=env, cwd=str(cwd), stdin=subprocess.DEVNULL,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
    return parse_session(res.returncode, res.stdout)


def step(command, log=None):
    """command, then a line with $?, $LASTEXITCODE and the location; into
    the file log instead of the output when given."""
    report = ('("%s {0}`t{1}`t{2}`t{3}" -f $?, $LASTEXITCODE, (Get-Location).Path, '
              '(Get-Location).ProviderPath)' % STEP_MARK)
    if log is not None:
        report += " | Out-File -Append -Encoding utf8 -LiteralPath %s" % ps_quote(str(log))
    return "%s; %s" % (command, report)


def value(expression):
    """A line that reports the value of expression, as JSON."""
    return '"%s " + (ConvertTo-Json -Compress -Depth 3 -InputObject (%s))' % (VALUE_MARK,
                                                                              expression)


def snapshot(label):
    """A line that lists what the session holds under label."""
    return '& $vantorTestSnapshot | ForEach-Object { "%s %s`t" + $_ }' % (SNAPSHOT_MARK, label)


def snapshot_lines():
    """Lines that define `snapshot`'s list (before the first snapshot)."""
    return ["$vantorTestVolatile = @(%s)" % ", ".join(ps_quote(v) for v in VOLATILE_VARIABLES),
            SNAPSHOT_BLOCK]


def dot_sourced(script, lines, cwd, env=None):
    """A session that dot-sources script (c.ps1 then only defines its
    functions) and runs lines; no Wine."""
    return run_pwsh([". %s" % ps_quote(str(script))] + list(lines), pwsh_env(env), cwd)




class PowerShell:
    """c.ps1, c-completion.ps1 and the stand-in vantor.exe in
    `vantor.scratch/ps`, put first on the PATH of every session, so that `c`
    and `. c-completion.ps1` are found as on Windows."""

    step = staticmethod(step)
    snapshot = staticmethod(snapshot)

    def __init__(self, vantor):
        self.vantor = vantor
        self.folder = vantor.scratch / "ps"
        self.folder.mkdir()
        self.script = self.folder / "c.ps1"
        shutil.copyfile(wrapper_ps1(), self.script)
        shutil.copyfile(completer_ps1(), self.folder / "c-completion.ps1")
        stand_in = self.folder / "vantor.exe"
        stand_in.write_text(
            "#!/bin/sh\n"
            "# vantor.exe as c.ps1 sees it: the real one under Wine, started in the\n"
            "# folder of PowerShell's location, with TEMP from the test's registry\n"
            "# and the hand-off file c.ps1 names by its Windows name (Z: is /).\n"
            "case \"$VANTOR_HANDOFF\" in /*) VANTOR_HANDOFF=\"Z:$(printf %%s \"$VANTOR_HANDOFF\""
            " | tr / '\\\\')\"; export VANTOR_HANDOFF ;; esac\n"
            "exec wine %s \"$@\"\n" % shlex.quote(str(vantor.exe)))
        stand_in.chmod(0o755)
        self.log = self.folder / "steps.log"

    def env(self):
        return self.vantor.prefix.env(dict(
            PWSH_SETTINGS, TEMP=str(self.vantor.temp),
            PATH="%s:%s" % (self.folder, os.environ.get("PATH", "/usr/bin:/bin"))))

    def preamble(self, start):
        """Lines that map the test's drives and go to start (a Windows path)."""
        lines = snapshot_lines()
        for letter, folder in self.vantor.drives.items():
            lines.append("$null = New-PSDrive -Name %s -PSProvider FileSystem -Root %s "
                         "-Scope Global" % (letter, ps_quote(str(folder))))
        if self.vantor.shares:
            # PowerShell on Linux knows no network paths: Set-Location takes
            # one the test mapped to the folder behind it.
            shares = "; ".join("%s = %s" % (ps_quote(name), ps_quote(str(folder)))
                               for name, folder in self.vantor.shares.items())
            lines.append(
                "function global:Set-Location([string]$LiteralPath) { $shares = @{ %s }; "
                "foreach ($name in $shares.Keys) { if ($LiteralPath -eq $name -or "
                "$LiteralPath.StartsWith($name + '\\')) { $LiteralPath = $shares[$name] + "
                "$LiteralPath.Substring($name.Length).Replace('\\', '/') } }; "
                "Microsoft.PowerShell.Management\\Set-Location -LiteralPath $LiteralPath }" % shares)
        lines.append("Set-Location -LiteralPath %s" % ps_quote(start))
        return lines

    def run(self, lines, start, timeout=120):
        """One session: the preamble, then lines. Standard input is
        /dev/null, so the program reads no keys."""
        return run_pwsh(self.preamble(start) + list(lines), self.env(), self.folder, timeout)

    def spawn(self, lines, start, rows=25, cols=80):
        """A session in a pseudo-terminal; `step(..., log=self.log)` lines
        report into a file that `logged_steps` reads."""
        args = pwsh_command(self.preamble(start) + list(lines))
        child = pexpect.spawn(args[0], args[1:], env=self.env(), dimensions=(rows, cols),
                              cwd=str(self.folder))
        return Console(child, rows, cols, self.vantor)

    def logged_steps(self):
        if not self.log.exists():
            return []
        return parse_session(0, self.log.read_bytes()).steps
