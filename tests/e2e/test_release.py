"""The release under Wine: scripts/package makes the archive, install.bat
puts the program's folder on the user's Path exactly once, a new console
finds c there, and uninstall.bat gives the Path back byte for byte."""

import os
import re
import subprocess
import zipfile

import pytest

from vantor_e2e import (CD_MARK, ENV_KEY, EXIT_SCREEN_SHOWN, RC_MARK, REG_KEY, REPO,
                        batch_escape, parse_shell_output, reg_root, vantor_exe)

# Packs, installs and removes the release: part of the whole test run only.
pytestmark = pytest.mark.whole

RELEASE_FILES = {"install.bat", "uninstall.bat", "c.bat", "c.ps1", "c-completion.ps1",
                 "vantor.exe", "vantor-path.exe", "vantor.chm", "README.txt", "LICENSE.txt"}
INSTALLED_FILES = {"vantor.exe", "c.bat", "c.ps1", "c-completion.ps1", "vantor.chm",
                   "vantor-path.exe", "README.txt", "LICENSE.txt", "vantor-uninstall.bat"}
# Written anew by every install, never copied (see install.bat).
SCRIPTS = ["c.ps1", "c-completion.ps1"]
TEXT_FILES = ["install.bat", "uninstall.bat", "c.bat", "README.txt", "LICENSE.txt"] + SCRIPTS


def source_version():
    header = (REPO / "src" / "frontend" / "version.h").read_text()
    return re.search(r'kVersion = "([^"]+)";', header).group(1)


def package(from_dir, out):
    return subprocess.run([str(REPO / "scripts" / "package"), "--no-build", "--from",
                           str(from_dir), "--out", str(out)], capture_output=True, text=True,
                          timeout=120)


def long_path(tail):
    """A Path text past setx's limit of 1,024 characters."""
    text = "C:\\Program Files (x86)\\Tool;%USERPROFILE%\\bin;D:\\50%;"
    n = 0
    while len(text) <= 1100:
        text += "E:\\folder & more %d\\sub;" % n
        n += 1
    return text + tail


# Path values a user may have before installing: (type, text), None for none.
PATHS_BEFORE = {
    "none": None,
    "long-expandable": ("REG_EXPAND_SZ", long_path("X:\\last")),
    "short-expandable": ("REG_EXPAND_SZ", "C:\\Program Files (x86)\\Tool;%USERPROFILE%\\bin;50%;"),
    "plain-with-specials": ("REG_SZ", "C:\\Tools & Bits\\!bang^caret;C:\\a(b)\\;E:\\x\\"),
    "empty": ("REG_EXPAND_SZ", ""),
}


@pytest.fixture(scope="module")
def archive(e2e_session):
    out = e2e_session.new_dir("zip")
    res = package(vantor_exe().parent, out)
    if res.returncode != 0:
        pytest.fail("scripts/package failed:\n%s%s" % (res.stdout, res.stderr), pytrace=False)
    return out / ("vantor-%s-win64.zip" % source_version())


class Release:
    """The archive unpacked in a downloads folder and installed into a
    local application data folder, both with '(', ')', '&' and spaces in
    their names."""

    def __init__(self, vantor, archive):
        self.vantor = vantor
        self.unpacked = vantor.scratch / "Downloads" / "vantor (1) & co"
        self.unpacked.mkdir(parents=True)
        with zipfile.ZipFile(archive) as zipped:
            zipped.extractall(self.unpacked)
        self.local = vantor.scratch / "App Data (x86) & more"
        self.home = self.local / "Programs" / "Vantor"
        self.home_win = vantor.win(self.home)

    def run(self, script, args=""):
        """Run a batch file of the unpacked archive as the user would."""
        res = self.vantor.run_cmd([self.set_local_app_data(),
                                   'call "%s\\%s" %s' % (self.vantor.win(self.unpacked), script,
                                                         args)])
        assert "Syntax error" not in res.text, res.text
        return res

    def set_path(self, before):
        """Make the user's Path value `before` ((type, text) or None)
        exactly, UTF-16 bytes and type, through an imported .reg file."""
        if before is None:
            record = '"Path"=-'
        else:
            kind, text = before
            raw = (text + "\0").encode("utf-16-le")
            record = '"Path"=hex(%d):%s' % (2 if kind == "REG_EXPAND_SZ" else 1,
                                            ",".join("%02x" % b for b in raw))
        reg = self.vantor.scratch / "path.reg"
        reg.write_text("Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n%s\r\n\r\n"
                       % (reg_root(ENV_KEY), record), encoding="utf-16")
        self.vantor.prefix.reg("import", self.vantor.win(reg), check=True)

    def environment(self):
        """HKCU\\Environment exported: every value's type and bytes."""
        out = self.vantor.scratch / "environment.reg"
        res = self.vantor.prefix.reg("export", ENV_KEY, self.vantor.win(out), "/y")
        assert res.returncode == 0 and out.exists(), (res.returncode, res.stdout, res.stderr)
        return out.read_bytes().decode("utf-16")

    def path_record(self):
        """The Path value as exported (type and bytes), None when absent."""
        text = re.sub(r"\\\r?\n\s*", "", self.environment())
        found = re.search(r'^"Path"=(.*)$', text, re.M | re.I)
        return found.group(1) if found else None

    def query_path(self):
        """(type, text) of Path as `reg query` shows it, None when absent."""
        res = self.vantor.prefix.reg("query", ENV_KEY, "/v", "Path")
        if res.returncode != 0:
            return None
        line = res.stdout.decode("cp1252").split("\r\n")[2]
        found = re.match(r"    Path    (REG_\w+)    (.*)$", line, re.I)
        assert found, line
        return found.group(1), found.group(2)

    def typed(self, commands, start):
        """Type commands at the prompt of a new console, in the directory
        `start`: the console knows only the Path from the registry. Returns
        (errorlevel of the last, output, cwd afterwards)."""
        if isinstance(commands, str):
            commands = [commands]
        res = self.vantor.run_cmd(['cd /d "%s"' % start, "call :typed",
                                   "set TYPED_RC=%errorlevel%",
                                   "echo %s=%%TYPED_RC%%" % RC_MARK, "echo %s" % CD_MARK, "cd",
                                   "exit /b %TYPED_RC%", ":typed"] + list(commands))
        return parse_shell_output(res.stdout)

    def set_local_app_data(self):
        """The `set` line that points LOCALAPPDATA at the test's folder."""
        return 'set "LOCALAPPDATA=%s"' % batch_escape(self.vantor.win(self.local))


@pytest.fixture
def release(vantor, archive):
    return Release(vantor, archive)


def test_archive_holds_the_release_files_of_this_version(vantor, archive):
    with zipfile.ZipFile(archive) as zipped:
        assert set(zipped.namelist()) == RELEASE_FILES
        files = {name: zipped.read(name) for name in zipped.namelist()}
    for name in TEXT_FILES:
        assert b"\n" not in files[name].replace(b"\r\n", b""), "%s has bare LF line ends" % name
    for wrapper in ["c.bat"] + SCRIPTS:
        assert files[wrapper].replace(b"\r\n", b"\n") == (REPO / wrapper).read_bytes().replace(
            b"\r\n", b"\n"), wrapper
    assert files["vantor.exe"] == vantor_exe().read_bytes()
    assert b"\r\n## Windows\r\n" in files["README.txt"]
    assert files["LICENSE.txt"].startswith(b"MIT License\r\n")
    # The archive's name and the program's banner take the same version, and
    # the banner names the bitness of the build the archive holds (win64).
    res = vantor.run(["-?"])
    assert res.code == EXIT_SCREEN_SHOWN
    assert " Vantor v%s (64bit) " % source_version() in res.text


def test_package_stops_without_the_manual(e2e_session):
    build = e2e_session.new_dir("nochm")
    (build / "packaging").mkdir()
    (build / "vantor.exe").write_bytes(vantor_exe().read_bytes())
    (build / "packaging" / "vantor-path.exe").write_bytes(b"MZ")
    out = build / "out"
    res = package(build, out)
    assert res.returncode == 1
    assert "vantor.chm is missing" in res.stderr and "no archive was made" in res.stderr
    assert not list(out.glob("*.zip"))


@pytest.mark.parametrize("name", list(PATHS_BEFORE))
def test_install_adds_the_folder_once_and_uninstall_restores_path(release, name):
    before = PATHS_BEFORE[name]
    release.set_path(before)
    record_before = release.path_record()
    assert (record_before is None) == (before is None)

    res = release.run("install.bat")
    assert res.code == 0, res.text
    assert 'Added "%s" to your Path.' % release.home_win in res.text
    assert "any key" not in res.text, "paused, though not started by a double-click"
    kind, text = release.query_path()
    assert kind == (before[0] if before else "REG_EXPAND_SZ")
    assert text.split(";").count(release.home_win) == 1
    expected = {None: release.home_win, "": release.home_win + ";"}
    old = before[1] if before else None
    if old in expected:
        assert text == expected[old]
    elif old.endswith(";"):
        assert text == old + release.home_win + ";"
    else:
        assert text == old + ";" + release.home_win
    assert {p.name for p in release.home.iterdir()} == INSTALLED_FILES
    for script in SCRIPTS:
        assert (release.home / script).read_bytes() == (release.unpacked / script).read_bytes()
        # A second name for the first copy tells whether a later install
        # writes into that file or makes a new one.
        os.link(release.home / script, release.local / ("first-" + script))

    installed = release.environment()
    res = release.run("install.bat")
    assert res.code == 0, res.text
    assert '"%s" is on your Path already.' % release.home_win in res.text
    assert release.environment() == installed
    # The scripts are written as new files every time, so that nothing of
    # an earlier copy, a mark of the web included, stays with them.
    for script in SCRIPTS:
        assert (release.home / script).stat().st_nlink == 1, script
        assert (release.home / script).read_bytes() == (release.unpacked / script).read_bytes()

    res = release.run("uninstall.bat")
    assert res.code == 0, res.text
    assert 'Removed "%s" from your Path.' % release.home_win in res.text
    assert release.path_record() == record_before
    assert not release.home.exists()


def test_new_console_finds_c_on_the_path(release, overview_tree):
    # Not the long value: Wine builds a process's Path from at most 1,023
    # characters of the user's value (Windows takes all of it).
    release.set_path(PATHS_BEFORE["short-expandable"])
    start = "S:\\Program Files\\Common Files"
    code, _, cwd = release.typed("c \\us", start)
    assert (code, cwd) != (0, "S:\\Users"), "c was found before it was installed"

    assert release.run("install.bat").code == 0
    code, output, cwd = release.typed("c \\us", start)
    assert (code, output, cwd) == (0, b"", "S:\\Users")
    code, output, cwd = release.typed("c -", "S:\\Users")
    assert (code, cwd) == (0, start)


def test_installed_uninstaller_takes_itself_away(release, overview_tree):
    release.set_path(PATHS_BEFORE["plain-with-specials"])
    record_before = release.path_record()
    assert release.run("install.bat").code == 0
    code, output, _ = release.typed([release.set_local_app_data(), "vantor-uninstall"], "S:\\")
    assert code == 0, output
    # The closing steps ran once, on Wine's path (see uninstall.bat).
    assert output.count(b"Vantor is uninstalled.") == 1 and b"Syntax error" not in output
    assert release.path_record() == record_before
    # Wine's cmd holds the running batch file open until it ends: the
    # uninstaller, deleted, goes only then, so the folder stays, empty.
    # Windows' cmd opens the file anew for each line and ends it at the
    # last line's goto, so there the folder goes too.
    assert not release.home.exists() or not any(release.home.iterdir())


def test_uninstall_leaves_files_of_yours_in_the_folder(release):
    release.set_path(None)
    assert release.run("install.bat").code == 0
    (release.home / "notes.txt").write_text("mine")
    res = release.run("uninstall.bat")
    assert res.code == 0, res.text
    assert res.text.count('The folder "%s" is in use or holds files of yours: delete it '
                          'yourself.\r\nVantor is uninstalled.' % release.home_win) == 1, res.text
    assert [p.name for p in release.home.iterdir()] == ["notes.txt"]


def test_settings_stay_unless_purged(release):
    release.set_path(None)
    vantor = release.vantor
    for args in ("", "/purge"):
        assert release.run("install.bat").code == 0
        vantor.reg_add("aliasname_1", "proj")
        res = release.run("uninstall.bat", args)
        assert res.code == 0, res.text
        if args:
            assert vantor.reg_values() == {}
            assert "Deleted your Vantor history, aliases and settings" in res.text
        else:
            assert vantor.reg_values() == {"aliasname_1": "proj"}
            assert "stay in the registry (%s)" % REG_KEY in res.text
    assert release.path_record() is None


def test_refusals_change_nothing(release):
    release.set_path(PATHS_BEFORE["long-expandable"])
    environment = release.environment()
    (release.unpacked / "vantor.chm").unlink()
    res = release.run("install.bat")
    assert res.code == 1
    assert "vantor.chm is missing beside install.bat" in res.text
    assert not release.local.exists()
    assert release.environment() == environment

    for args in ("/all", "/purge extra", "/?"):
        res = release.run("uninstall.bat", args)
        assert res.code == 1 and "usage: uninstall [/purge]" in res.text, args
    res = release.run("install.bat", "/?")
    assert res.code == 1 and "usage: install.bat" in res.text
    assert release.environment() == environment
