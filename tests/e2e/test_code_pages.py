"""Code pages end to end: the seam's own conversions and upper-casing, run
through seam_probe.exe (its texts are UTF-8 in every code page), and the
program in the double-byte code page 932, where the second byte of a
character can look like an ASCII letter in the hand-off file and the
settings."""

import pytest

import vantor_e2e as e2e
from vantor_e2e import EXIT_NORMAL

CP932 = "cp932"


def probe(prefix, args, cwd, env=None):
    """Bytes that seam_probe.exe printed as hex (None for a word), and the
    word after them, if any."""
    exe = e2e.tools_dir() / "seam_probe.exe"
    res = prefix.call(["wine", str(exe)] + list(args), cwd=str(cwd), env=env)
    assert res.returncode == 0, res.stdout
    out, _, word = res.stdout.decode().strip().partition(" ")
    data = None if out in ("failed", "undefined") else bytes.fromhex(out)
    return (data, word) if word else data


def hexed(data):
    return data.hex()


@pytest.fixture(scope="module")
def prefix_932(e2e_session):
    """A prefix whose processes (its wineserver too) run in code page 932."""
    try:
        e2e.check_locale(e2e.LOCALE_932)
    except e2e.HarnessError as err:
        pytest.fail(str(err), pytrace=False)
    prefix = e2e_session.new_prefix(e2e.LOCALE_932)
    yield prefix
    e2e_session.drop_prefix(prefix)


@pytest.fixture
def vantor_932(prefix_932, e2e_session):
    v = e2e.Vantor(prefix_932, e2e_session.new_dir("t"))
    yield v
    v.unmap_all()


def test_the_seam_speaks_utf8_whatever_the_code_page(wine_prefix, prefix_932, tmp_path):
    for prefix in (wine_prefix, prefix_932):
        # Upper-casing keeps each character's length in UTF-8: the dotless
        # i stays, since its upper-case form is one byte shorter.
        rows = {"café ｂ док ı z": "CAFÉ Ｂ ДОК ı Z", "plain ascii 9": "PLAIN ASCII 9"}
        for text, upper in rows.items():
            assert probe(prefix, ["upper", hexed(text.encode())], tmp_path) == upper.encode()
        line = probe(prefix, ["cmdline", "Café", "Документы"], tmp_path)
        assert line.endswith(" cmdline Café Документы".encode())
        assert probe(prefix, ["env", "VANTOR_PROBE"], tmp_path,
                     env={"VANTOR_PROBE": "Menü 写真"}) == "Menü 写真".encode()
        assert probe(prefix, ["env", "VANTOR_NOT_SET"], tmp_path) is None
    # Full paths by the system's rules; none past 259 characters.
    here = "Z:" + str(tmp_path).replace("/", "\\")
    assert probe(wine_prefix, ["fullpath", hexed(b"Z:..\\v.dat")], tmp_path) == \
        (here.rsplit("\\", 1)[0] + "\\v.dat").encode()
    assert probe(wine_prefix, ["fullpath", hexed("Документы".encode())], tmp_path) == \
        (here + "\\Документы").encode()
    assert probe(wine_prefix, ["fullpath", hexed(b"Z:\\" + b"x" * 257)], tmp_path) is None


def test_the_seam_takes_no_look_alike_for_a_missing_character(wine_prefix, tmp_path):
    rows = [(437, "Café", b"Caf\x82", True), (437, "Bob’s files", b"Bob?s files", False),
            (437, "Projects – 2024", b"Projects ? 2024", False), (437, "写真", b"??", False),
            (1252, "Bob’s", b"Bob\x92s", True), (932, "Ｂ写", b"\x82\x61\x8e\xca", True),
            (65001, "Документы", "Документы".encode(), True)]
    for code_page, text, data, exact in rows:
        verdict = "exact" if exact else "inexact"
        args = ["encode", str(code_page), hexed(text.encode())]
        assert probe(wine_prefix, args, tmp_path) == (data, verdict), text


def test_names_differing_in_a_second_byte_are_kept_apart(vantor_932):
    """Two siblings whose names differ only in a character whose second
    byte lies in a-z: an abbreviation finds one alone, and the history
    keeps both."""
    base = vantor_932.tree(["Ｂone", "Ｃone", "other"])
    settings = vantor_932.scratch / "vantor.dat"
    env = {"VANTOR": vantor_932.win(settings)}
    targets = {}
    for letter, name in (("Ｂ", "Ｂone"), ("Ｃ", "Ｃone")):
        res = vantor_932.run([letter], cwd=base, env=env)
        target = vantor_932.win(base / name).encode(CP932)
        assert (res.code, res.handoff) == \
            (EXIT_NORMAL, b"Z:\r\nchdir \"" + target[2:] + b"\"\r\n"), letter
        targets[letter] = target
    data = settings.read_bytes()
    history = [data[256 * i + 1:256 * i + 1 + data[256 * i]] for i in range(4)]
    assert history == [targets["Ｃ"], vantor_932.win(base).encode(CP932), targets["Ｂ"], b""]
