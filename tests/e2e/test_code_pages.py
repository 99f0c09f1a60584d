"""Code pages end to end: the seam's own conversions and upper-casing, run
through seam_probe.exe, and the program in the double-byte code page 932,
where the second byte of a character can look like an ASCII letter."""

import pytest

import vantor_e2e as e2e
from vantor_e2e import EXIT_NORMAL

CP932 = "cp932"


def probe(prefix, args, cwd, env=None):
    """Bytes that seam_probe.exe printed as hex (None for a word)."""
    exe = e2e.tools_dir() / "seam_probe.exe"
    res = prefix.call(["wine", str(exe)] + list(args), cwd=str(cwd), env=env)
    assert res.returncode == 0, res.stdout
    out = res.stdout.decode().strip()
    return None if out in ("failed", "undefined") else bytes.fromhex(out)


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


FULLWIDTH_B = "Ｂ".encode(CP932)  # 82 61: its second byte is an 'a'
FULLWIDTH_C = "Ｃ".encode(CP932)  # 82 62
FULLWIDTH_SMALL_B = "ｂ".encode(CP932)  # 82 82


def test_the_seam_upper_cases_double_byte_text_as_whole_characters(prefix_932, tmp_path):
    assert (FULLWIDTH_B, FULLWIDTH_C) == (b"\x82\x61", b"\x82\x62")
    rows = {
        FULLWIDTH_B: FULLWIDTH_B,
        FULLWIDTH_C: FULLWIDTH_C,
        FULLWIDTH_SMALL_B: FULLWIDTH_B,
        b"a" + FULLWIDTH_B + b"z": b"A" + FULLWIDTH_B + b"Z",
        b"x" + FULLWIDTH_C + FULLWIDTH_SMALL_B: b"X" + FULLWIDTH_C + FULLWIDTH_B,
        b"plain ascii 9": b"PLAIN ASCII 9",
    }
    for text, upper in rows.items():
        assert probe(prefix_932, ["upper", hexed(text)], tmp_path) == upper, text
    # The command line arrives in the same code page.
    line = probe(prefix_932, ["cmdline", "Ｂｂ"], tmp_path)
    assert line.endswith(b" cmdline " + FULLWIDTH_B + FULLWIDTH_SMALL_B)


def test_the_seam_speaks_the_oem_code_page(wine_prefix, tmp_path):
    # Code page 437: é is 82 there (E9 in the ANSI page 1252), ü is 81.
    line = probe(wine_prefix, ["cmdline", "Café"], tmp_path)
    assert line.endswith(b" cmdline Caf\x82")
    assert probe(wine_prefix, ["env", "VANTOR_PROBE"], tmp_path,
                 env={"VANTOR_PROBE": "Menü"}) == b"Men\x81"
    assert probe(wine_prefix, ["env", "VANTOR_NOT_SET"], tmp_path) is None
    assert probe(wine_prefix, ["upper", hexed(b"abc\\x.y")], tmp_path) == b"ABC\\X.Y"
    # Full paths by the system's rules, in OEM bytes; none past 259 characters.
    here = "Z:" + str(tmp_path).replace("/", "\\")
    assert probe(wine_prefix, ["fullpath", hexed(b"v.dat")], tmp_path) == \
        (here + "\\v.dat").encode()
    assert probe(wine_prefix, ["fullpath", hexed(b"Z:..\\v.dat")], tmp_path) == \
        (here.rsplit("\\", 1)[0] + "\\v.dat").encode()
    assert probe(wine_prefix, ["fullpath", hexed(b"Caf\x82")], tmp_path) == \
        (here + "\\Caf").encode() + b"\x82"
    assert probe(wine_prefix, ["fullpath", hexed(b"Z:\\" + b"x" * 257)], tmp_path) is None


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
