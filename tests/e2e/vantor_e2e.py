"""Drive vantor.exe under Wine as a user would: command line, wrapper batch
file, exit code, hand-off file, registry and a pseudo-terminal console.

The fixtures in conftest.py hand each test a `Vantor` object; everything a
test needs goes through it. See README.md for the Wine quirks handled here.
"""

import os
import shutil
import subprocess
from dataclasses import dataclass
from pathlib import Path

import pexpect

# Re-exported: tests import everything from this module.
from pty_console import CD_MARK, DEFAULT_TIMEOUT, PYTE_COLOUR, RC_MARK, Console, Keys
from wine_prefix import (ANSI, LOCALE, LOCALE_932, OEM, SYSTEM_ENV_KEY, HarnessError, WinePrefix,
                         base_env, check_locale, ensure_template, fix_address_layout,
                         parse_reg_export, reg_root, template_dir)

# Named here so that linters see them used; this module's own names are
# imported by name as well.
__all__ = [
    "CD_MARK", "DEFAULT_TIMEOUT", "PYTE_COLOUR", "RC_MARK", "Console", "Keys",
    "ANSI", "LOCALE", "LOCALE_932", "OEM", "SYSTEM_ENV_KEY", "HarnessError", "WinePrefix",
    "base_env", "check_locale", "ensure_template", "fix_address_layout", "parse_reg_export",
    "reg_root", "template_dir",
]

REPO = Path(__file__).resolve().parents[2]

# Contents of the hand-off file after start-up reset.
HANDOFF_RESET = b"rem\r\n"
HANDOFF_NAME = "vantor2.bat"

EXIT_NORMAL = 0
EXIT_UNHANDLED_ERROR = 1
EXIT_RUN_ERROR = 243
EXIT_SCREEN_SHOWN = 250
EXIT_DECLINED = 255

REG_KEY = r"HKCU\SOFTWARE\Orbwell Software\Vantor"
ENV_KEY = r"HKCU\Environment"


def vantor_exe():
    """Path of the vantor.exe under test (VANTOR_EXE or build-win/)."""
    return Path(os.environ.get("VANTOR_EXE", REPO / "build-win" / "vantor.exe"))


def tools_dir():
    """Folder of the test helper exes (VANTOR_TOOLS_DIR or the exe's)."""
    return Path(os.environ.get("VANTOR_TOOLS_DIR", vantor_exe().parent))


def wrapper_bat():
    """The shell-side wrapper c.bat (VANTOR_WRAPPER or the repository's)."""
    return Path(os.environ.get("VANTOR_WRAPPER", REPO / "c.bat"))


def check_environment():
    """Raise HarnessError naming what is missing to run the suite."""
    missing = [t for t in ("wine", "wineboot", "wineserver") if not shutil.which(t)]
    if missing:
        raise HarnessError("Wine is not installed (missing: %s)" % ", ".join(missing))
    exe = vantor_exe()
    if not exe.is_file():
        raise HarnessError("vantor.exe not found at %s: build it (cmake --build build-win) "
                           "or set VANTOR_EXE" % exe)


def oem(text):
    """Text as the program's OEM bytes."""
    return text.encode(OEM)


def batch_escape(text):
    """Text for a batch file line, where cmd would expand % signs."""
    return text.replace("%", "%%")


def registry_text(raw):
    """How OEM bytes the program hands to a ...A registry call are stored:
    Wine converts them through the ANSI code page (1252), with undefined
    bytes kept as the same code point."""
    return "".join(bytes([b]).decode(ANSI, errors="ignore") or chr(b) for b in raw)


# ---------------------------------------------------------------- results

@dataclass
class RunResult:
    code: int
    stdout: bytes
    handoff: bytes  # the hand-off file's bytes after the run (None: no file)

    @property
    def text(self):
        """Standard output decoded from the OEM code page."""
        return self.stdout.decode(OEM)

    @property
    def lines(self):
        return self.text.split("\r\n")


@dataclass
class ShellResult:
    """A wrapper call made from a driver batch file."""
    code: int  # errorlevel after the wrapper returned (the program's exit code)
    output: bytes  # everything the driver printed before its own markers
    cwd: str  # the shell's current directory afterwards
    left: list  # names the run left in the test's TEMP folder (None: no such folder)
    raw: bytes

    @property
    def text(self):
        return self.output.decode(OEM)

    @property
    def lines(self):
        return self.text.split("\r\n")




def parse_shell_output(raw):
    """Split a driver's output at the markers that `Vantor.shell` writes.
    cmd prints to a pipe in the ANSI code page (`cd` of "é" gives 0xE9,
    where the program itself writes the OEM 0x82), so the directory line is
    decoded as 1252."""
    mark = ("\r\n" + RC_MARK).encode()
    head, sep, tail = raw.rpartition(mark)
    if not sep:
        if raw.startswith(RC_MARK.encode()):
            head, tail = b"", raw[len(RC_MARK):]
        else:
            raise AssertionError("driver output lacks its markers: %r" % raw)
    lines = tail.decode(ANSI).split("\r\n")
    code = int(lines[0].strip("= "))
    cwd = lines[2] if len(lines) > 2 and lines[1] == CD_MARK else None
    if head:
        head += b"\r\n"
    return code, head, cwd


# ---------------------------------------------------------------- the fixture

def make_tree(base, paths):
    """Create the directories named by relative paths ("a\\b" or "a/b")
    below base; return base as a Path."""
    base = Path(base)
    for rel in paths:
        (base / rel.replace("\\", "/")).mkdir(parents=True, exist_ok=True)
    return base


# The directories of the typical request: c pr\co from the root offers
# Program Files\Common Files and ProgramData\Corp.
OVERVIEW_TREE = ["Program Files\\Common Files", "ProgramData\\Corp", "Users", "Windows"]


class Vantor:
    """One test's view of the program: its own scratch tree, TEMP folder,
    wrapper copy and registry key, in a prefix it may share with the other
    tests of its module (run one at a time there)."""

    def __init__(self, prefix, scratch):
        self.prefix = prefix
        self.scratch = Path(scratch)
        self.bin = self.scratch / "bin"
        self.bin.mkdir(parents=True)
        self.exe = self.bin / "vantor.exe"
        shutil.copy2(vantor_exe(), self.exe)
        self.drives = {}  # letter -> Linux folder
        self.shares = {}  # "\\server\share" -> Linux folder
        self.temp = self.scratch / "Temp"
        self.temp.mkdir()
        self._reset_registry()

    def _reset_registry(self):
        # One `wine reg` call instead of two: each costs 0.1-0.8 s.
        reset = self.scratch / "reset.reg"
        reset.write_text("Windows Registry Editor Version 5.00\r\n\r\n[-%s]\r\n\r\n[%s]\r\n"
                         '"TEMP"="%s"\r\n\r\n' % (reg_root(REG_KEY), reg_root(ENV_KEY),
                                                  self.win(self.temp).replace("\\", "\\\\")),
                         encoding="utf-16")
        self.prefix.reg("import", self.win(reset), check=True)

    # -- paths and drives
    def win(self, path):
        """Windows path of a Linux path: on a mapped drive if one holds it,
        else on Z:."""
        path = Path(os.path.abspath(path))
        best = None
        for name, folder in list(self.drives.items()) + list(self.shares.items()):
            try:
                rel = path.relative_to(folder)
            except ValueError:
                continue
            if best is None or len(folder.parts) > len(best[1].parts):
                best = (name, folder, rel)
        if best is None:
            return "Z:" + str(path).replace("/", "\\")
        name, _, rel = best
        tail = "" if str(rel) == "." else str(rel).replace("/", "\\")
        if len(name) == 1:
            return name + ":\\" + tail
        return name + ("\\" + tail if tail else "")

    def map_drive(self, letter, folder):
        """Make folder drive letter:; return its root "X:\\"."""
        letter = letter.upper()
        link = self.prefix.path / "dosdevices" / (letter.lower() + ":")
        if link.is_symlink() or link.exists():
            link.unlink()
        folder = Path(os.path.abspath(folder))
        folder.mkdir(parents=True, exist_ok=True)
        link.symlink_to(folder)
        self.drives[letter] = folder
        return letter + ":\\"

    def map_share(self, server, share, folder):
        """Make folder reachable as \\\\server\\share; return that name."""
        link = self.prefix.path / "dosdevices" / "unc" / server / share
        link.parent.mkdir(parents=True, exist_ok=True)
        if link.is_symlink():
            link.unlink()
        folder = Path(os.path.abspath(folder))
        folder.mkdir(parents=True, exist_ok=True)
        link.symlink_to(folder)
        name = "\\\\%s\\%s" % (server, share)
        self.shares[name] = folder
        return name

    def unmap_all(self):
        for letter in self.drives:
            link = self.prefix.path / "dosdevices" / (letter.lower() + ":")
            if link.is_symlink():
                link.unlink()
        shutil.rmtree(self.prefix.path / "dosdevices" / "unc", ignore_errors=True)
        self.drives.clear()
        self.shares.clear()

    def tree(self, paths, base=None):
        """Directories from relative paths below base (default: the
        scratch folder's "tree"); return the base."""
        return make_tree(base or self.scratch / "tree", paths)

    # -- TEMP and the hand-off file
    def set_temp(self, value, create=True):
        """Set TEMP for every later run: a Linux path (its folder is created
        unless create is False), a Windows text as given, or None for no
        TEMP at all. A driver batch may still override it with `set TEMP=`."""
        if value is None:
            self.prefix.reg("delete", ENV_KEY, "/v", "TEMP", "/f")
            self.temp = None
            return None
        if isinstance(value, Path):
            if create:
                value.mkdir(parents=True, exist_ok=True)
            self.temp = value
            value = self.win(value)
        else:
            self.temp = None
        self.prefix.reg("add", ENV_KEY, "/v", "TEMP", "/t", "REG_SZ", "/d", value, "/f",
                        check=True)
        return value

    @property
    def handoff_path(self):
        return self.temp / HANDOFF_NAME if self.temp else None

    def handoff(self):
        """Bytes of the hand-off file in the test's TEMP (None: absent)."""
        path = self.handoff_path
        return path.read_bytes() if path and path.exists() else None

    def temp_names(self):
        """Sorted names in the test's TEMP folder (None: no such folder)."""
        return sorted(p.name for p in self.temp.iterdir()) if self.temp and self.temp.is_dir() \
            else None

    # -- running
    def run(self, args, cwd=None, env=None, stdin=None, timeout=DEFAULT_TIMEOUT):
        """Run vantor.exe directly with a list of arguments (Wine quotes
        those holding spaces and gives "" for an empty one). cwd is the
        start directory as a Linux path (default: the scratch folder).
        stdin is bytes or None (then /dev/null: not a console)."""
        if isinstance(args, str):
            args = [args]
        res = self.prefix.call(["wine", str(self.exe)] + list(args),
                               cwd=str(cwd or self.scratch), env=env, timeout=timeout,
                               input=stdin, stdin=None if stdin is not None else subprocess.DEVNULL,
                               stderr=subprocess.STDOUT)
        return RunResult(res.returncode, res.stdout, self.handoff())

    def write_driver(self, lines, name="driver.bat"):
        """Write a batch file (CR LF, OEM code page, as cmd reads it);
        return its Windows path."""
        path = self.scratch / name
        path.write_bytes(("\r\n".join(["@echo off"] + list(lines)) + "\r\n").encode(OEM))
        return self.win(path)

    def run_cmd(self, lines, cwd=None, env=None, stdin=None, timeout=DEFAULT_TIMEOUT,
                switches=()):
        """Run batch lines through `wine cmd /c driver.bat`; the exit code is
        the last command's. switches go to cmd first (e.g. "/v:on")."""
        driver = self.write_driver(lines)
        res = self.prefix.call(["wine", "cmd"] + list(switches) + ["/c", driver],
                               cwd=str(cwd or self.scratch),
                               env=env, timeout=timeout, input=stdin,
                               stdin=None if stdin is not None else subprocess.DEVNULL,
                               stderr=subprocess.STDOUT)
        return RunResult(res.returncode, res.stdout, self.handoff())

    def typed(self, args, start=None, drive_dirs=(), sets=None, env=None, stdin=None,
              timeout=DEFAULT_TIMEOUT):
        """Run vantor.exe (not the wrapper) from a driver batch file with the
        command line args exactly as written into the batch file (so %% for
        a %), after `cd /d` into drive_dirs and start (Windows paths; this is
        how a test gets per-drive directories or a network start directory)
        and `set` lines."""
        lines = ['cd /d "%s"' % batch_escape(d) for d in list(drive_dirs) + [start] if d]
        lines += ["set %s=%s" % (var, "" if value is None else batch_escape(value))
                  for var, value in (sets or {}).items()]
        lines.append('"%s" %s' % (self.win(self.exe), args))
        return self.run_cmd(lines, env=env, stdin=stdin, timeout=timeout)

    def wrapper(self):
        """Windows path of the test's c.bat copy (beside its vantor.exe)."""
        target = self.bin / "c.bat"
        if not target.exists():
            source = wrapper_bat()
            if not source.is_file():
                raise HarnessError("the wrapper %s does not exist" % source)
            shutil.copy2(source, target)
        return self.win(target)

    def shell_lines(self, args, start=None, drive_dirs=(), sets=None):
        """Driver lines that type `c args` as at the prompt: `cd /d` to each
        drive_dirs entry, then to start (Windows paths; cmd sets the per-drive
        =X: variables), `set` lines, the wrapper, then markers with the
        errorlevel and `cd`. args goes into the batch file as it is: write
        %% for a % that should reach the program.

        Wine 8's cmd turns the errorlevel after `call other.bat` into 1 for
        any non-zero code, so the wrapper is not `call`ed: it runs bare
        inside a `call :label` subroutine (as typed at a prompt), which
        returns here with the wrapper's errorlevel intact."""
        lines = ['cd /d "%s"' % batch_escape(d) for d in drive_dirs]
        if start:
            lines.append('cd /d "%s"' % batch_escape(start))
        for var, value in (sets or {}).items():
            lines.append("set %s=%s" % (var, "" if value is None else batch_escape(value)))
        lines += ["call :vantor_e2e_typed",
                  "set VANTOR_E2E_RC=%errorlevel%",
                  "echo %s=%%VANTOR_E2E_RC%%" % RC_MARK,
                  "echo %s" % CD_MARK, "cd", "exit /b %VANTOR_E2E_RC%",
                  ":vantor_e2e_typed",
                  '"%s" %s' % (self.wrapper(), args)]
        return lines

    def shell(self, args, start=None, drive_dirs=(), sets=None, env=None, stdin=None,
              timeout=DEFAULT_TIMEOUT, switches=()):
        """Type `c args` in a cmd whose current directory is start (a
        Windows path, default the scratch folder) and report the errorlevel,
        the output and where the shell ended up. switches go to cmd (e.g.
        "/v:on" for delayed expansion)."""
        lines = self.shell_lines(args, start or self.win(self.scratch), drive_dirs, sets)
        res = self.run_cmd(lines, env=env, stdin=stdin, timeout=timeout, switches=switches)
        code, head, cwd = parse_shell_output(res.stdout)
        # A Linux exit status keeps the low 8 bits (cmd's 9009 arrives as 49).
        assert code % 256 == res.code, "driver exit %d but errorlevel %d" % (res.code, code)
        return ShellResult(code, head, cwd, self.temp_names(), res.stdout)

    def spawn(self, args, rows=25, cols=80, cwd=None, env=None):
        """vantor.exe in a pseudo-terminal of rows x cols (the program's
        screen buffer has exactly that size)."""
        if isinstance(args, str):
            args = [args]
        child = pexpect.spawn("wine", [str(self.exe)] + list(args), cwd=str(cwd or self.scratch),
                              env=self.prefix.env(env), dimensions=(rows, cols))
        return Console(child, rows, cols, self)

    def spawn_cmd(self, lines, rows=25, cols=80, cwd=None, env=None):
        """cmd running a driver batch in a pseudo-terminal (e.g. the wrapper
        showing a menu). Use `shell_lines` to build lines that end with the
        errorlevel and `cd` markers."""
        driver = self.write_driver(lines)
        child = pexpect.spawn("wine", ["cmd", "/c", driver], cwd=str(cwd or self.scratch),
                              env=self.prefix.env(env), dimensions=(rows, cols))
        return Console(child, rows, cols, self)

    def inject_keys(self, *keys):
        """Write key records ("character,virtual key,scan code[,state]")
        into the console input of the running vantor.exe: keys that a
        terminal cannot send (Num Lock, Caps Lock, Esc with character 27)."""
        tool = tools_dir() / "inject_keys.exe"
        if not tool.is_file():
            raise HarnessError("test helper %s is missing: build the Windows targets" % tool)
        res = self.prefix.call(["wine", str(tool), "vantor.exe"] + list(keys))
        assert res.returncode == 0, "inject_keys failed with %d" % res.returncode

    # -- registry under the program's key
    def reg_add(self, name, data, kind="REG_SZ", key=REG_KEY):
        self.prefix.reg("add", key, "/v", name, "/t", kind, "/d", str(data), "/f", check=True)

    def reg_delete(self, name=None, key=REG_KEY):
        """Delete one value, or the whole key when name is None."""
        extra = ["/v", name] if name is not None else []
        return self.prefix.reg("delete", key, *extra, "/f").returncode

    def reg_export(self, key=REG_KEY):
        """The key as .reg text (decoded), or None when it does not exist."""
        out = self.scratch / "export.reg"
        res = self.prefix.reg("export", key, self.win(out), "/y")
        if res.returncode != 0 or not out.exists():
            return None
        return out.read_bytes().decode("utf-16")

    def reg_values(self, key=REG_KEY):
        """All values of the key: str for REG_SZ, int for REG_DWORD, bytes
        for binary; {} when the key does not exist."""
        return parse_reg_export(self.reg_export(key) or "")

    def reg_query(self, name, key=REG_KEY):
        """One value (see reg_values) or None."""
        return self.reg_values(key).get(name)
