"""Wine prefixes for the end-to-end tests: a template built once and cached,
cheap copies of it with a warm wineserver, and .reg text."""

import ctypes
import fcntl
import os
import shutil
import subprocess
import tempfile
from pathlib import Path

SYSTEM_ENV_KEY = r"HKLM\System\CurrentControlSet\Control\Session Manager\Environment"

# The locale decides Wine's code pages and how it maps Unix file names.
# C.UTF-8 gives OEM 437 / ANSI 1252 and UTF-8 Unix names (so "José" on the
# Linux side is "José" on the Windows side).
LOCALE = "C.UTF-8"
OEM = "cp437"
ANSI = "cp1252"


class HarnessError(RuntimeError):
    """The test set-up itself is broken (no Wine, no exe, ...)."""


# personality(2): lay out every program started afterwards without
# address-space randomization, as `setarch -R` does.
ADDR_NO_RANDOMIZE = 0x0040000
QUERY_PERSONALITY = 0xFFFFFFFF


def fix_address_layout():
    """Start every later Wine process with the same address-space layout.

    Debian's Wine has no preloader: its loader `wine64` sits at the fixed
    address 0x7d000000 and the kernel puts the program break (the C heap)
    at a random place in the gigabyte after it. About once in 5,000 starts
    the heap covers 0x7ffe0000, where every Windows process needs its
    shared user data page, and the process dies before running any of its
    own code: exit code 1 and nothing on the output ("failed to map the
    shared user data: c0000018" is shown only with WINEDEBUG=err+virtual),
    or cmd says "Can't recognize" for a program that is there. Without
    randomization the heap follows the loader at 0x7d005000, far below that
    page, in every process.

    The setting is inherited by every child (wine, wineserver, Wine's
    services, processes started by cmd). Returns False, with the layout
    left random, when the system refuses it (e.g. a container's seccomp
    profile)."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.personality.argtypes = [ctypes.c_ulong]
    libc.personality.restype = ctypes.c_int
    current = libc.personality(QUERY_PERSONALITY)
    if current == -1:
        return False
    if current & ADDR_NO_RANDOMIZE:
        return True
    return libc.personality(current | ADDR_NO_RANDOMIZE) != -1


def reg_root(key):
    """A key with its root spelt out, as .reg files want it."""
    return key.replace("HKCU\\", "HKEY_CURRENT_USER\\", 1).replace(
        "HKLM\\", "HKEY_LOCAL_MACHINE\\", 1)


# A locale whose Wine processes run in the double-byte code page 932 (ANSI
# and OEM alike) and still map Unix file names as UTF-8. It needs the glibc
# locale (scripts/lib/common.sh makes it); "ja_JP.SJIS" without one also
# gives 932 but garbles the Unix names.
LOCALE_932 = "ja_JP.UTF-8"


def base_env(locale=LOCALE):
    """The Linux environment for every Wine call. TEMP/TMP are dropped (Wine
    takes TEMP from the registry anyway) and so is VANTOR, so that a value
    from the developer's shell cannot change a test's outcome."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("TEMP", "TMP", "VANTOR", "DISPLAY", "WAYLAND_DISPLAY")}
    env.update(WINEDEBUG="-all", LANG=locale, LC_ALL=locale, WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def check_locale(locale):
    """Raise HarnessError unless glibc has `locale` (Wine needs it to pick
    the code pages that go with it)."""
    listed = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    wanted = locale.lower().replace("utf-8", "utf8")
    if wanted not in [name.lower() for name in listed]:
        raise HarnessError("the locale %s is missing (scripts/test makes it with localedef)"
                           % locale)


class WinePrefix:
    """A Wine prefix with a warm wineserver."""

    def __init__(self, path, locale=LOCALE):
        self.path = Path(path)
        self.locale = locale  # every process of the prefix, its wineserver too
        self.server_started = False

    def env(self, extra=None):
        env = base_env(self.locale)
        env["WINEPREFIX"] = str(self.path)
        if extra:
            env.update(extra)
        return env

    def call(self, args, timeout=60, check=False, **kw):
        """Run a Linux command (usually wine ...) in this prefix."""
        kw.setdefault("stdout", subprocess.PIPE)
        kw.setdefault("stderr", subprocess.PIPE)
        kw.setdefault("stdin", subprocess.DEVNULL)
        res = subprocess.run(args, env=self.env(kw.pop("env", None)), timeout=timeout, **kw)
        if check and res.returncode != 0:
            raise HarnessError("%s failed (%d): %s" % (args, res.returncode,
                                                       res.stderr.decode(errors="replace")))
        return res

    def start_server(self):
        # -p keeps the server alive between runs (a run then takes ~40 ms
        # instead of ~0.6 s). Its output must not be our pipes, or it holds
        # them open forever.
        subprocess.run(["wineserver", "-p"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        # The first program in a prefix starts Wine's background services,
        # which inherit its standard handles and keep running: start them
        # here without our pipes, or a later run's output never reaches EOF.
        subprocess.run(["wine", "cmd", "/c", "rem"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        self.server_started = True

    def stop_server(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        self.server_started = False

    def reg(self, *args, check=False):
        return self.call(["wine", "reg"] + list(args), check=check)

    @classmethod
    def clone(cls, template, dest, locale=LOCALE):
        """Copy the template cheaply: hard links for everything but the
        registry files, which Wine rewrites in place (a hard-linked user.reg
        would carry one test's registry writes into the template)."""
        dest = Path(dest)
        subprocess.run(["cp", "-al", str(template), str(dest)], check=True)
        for reg in dest.glob("*.reg"):
            data = reg.read_bytes()
            reg.unlink()
            reg.write_bytes(data)
        return cls(dest, locale)


def template_dir():
    root = os.environ.get("VANTOR_E2E_CACHE") or tempfile.gettempdir()
    version = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout
    version = "".join(c if c.isalnum() or c in ".-" else "_" for c in version.strip())
    return Path(root) / ("vantor-e2e-template-%d-%s" % (os.getuid(), version))


def ensure_template():
    """Return the cached template prefix, building it once (~8-10 s). A lock
    file lets concurrent sessions share one build."""
    path = template_dir()
    ready = path / ".vantor-e2e-ready"
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(str(path) + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if ready.exists():
            return path
        shutil.rmtree(path, ignore_errors=True)
        build = Path(str(path) + ".build")
        shutil.rmtree(build, ignore_errors=True)
        prefix = WinePrefix(build)
        prefix.call(["wineboot", "-i"], timeout=300, check=True,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # TEMP then comes from HKCU\Environment alone, which each test sets
        # (or deletes to run without TEMP). Wine ignores a Linux TEMP.
        prefix.reg("delete", SYSTEM_ENV_KEY, "/v", "TEMP", "/f", check=True)
        prefix.stop_server()  # flushes the registry files
        build.rename(path)
        ready.write_text("ok\n")
        return path


def _unescape_reg(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            i += 1
        out.append(text[i])
        i += 1
    return "".join(out)


def parse_reg_export(text):
    """Values of the first key in a .reg export."""
    values, seen_key, pending = {}, False, ""
    for line in text.splitlines():
        if line.startswith("["):
            if seen_key:
                break
            seen_key = True
            continue
        line = pending + line.strip()
        if line.endswith("\\") and "=hex" in line:
            pending = line[:-1]
            continue
        pending = ""
        if not line.startswith('"') and not line.startswith("@"):
            continue
        if line.startswith("@"):
            name, data = "", line[2:]
        else:
            end = 1
            while line[end] != '"':
                end += 2 if line[end] == "\\" else 1
            name, data = _unescape_reg(line[1:end]), line[end + 2:]
        if data.startswith('"'):
            values[name] = _unescape_reg(data[1:-1])
        elif data.startswith("dword:"):
            values[name] = int(data[6:], 16)
        elif data.startswith("hex"):
            hexes = data.split(":", 1)[1].replace(",", "").replace(" ", "")
            values[name] = bytes.fromhex(hexes)
    return values
