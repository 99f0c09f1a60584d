"""Crash safety under load: storms of overlapping vantor.exe runs against
one settings file, and against the registry key, some of the runs killed at
random moments. Afterwards (and, for the file, all the time) the store is
whole: a 10736-byte block that loads, history entries that are directories
some run recorded, and the aliases defined before the storm all still there.

Bounded: 200 runs per storm, eight at a time, each run given 60 s."""

import random
import subprocess
import threading
import time

import pytest

from vantor_e2e import EXIT_NORMAL, OEM

# Storms of hundreds of runs: part of the whole test run, not of the quick one.
pytestmark = pytest.mark.whole

RUNS = 200
PARALLEL = 8
KILL_SHARE = 0.25
SETTINGS_SIZE = 10736
ALIASES = [("src", "S:\\d01"), ("docs", "S:\\d02\\x"), ("far", "Q:\\elsewhere")]


def decode(data):
    """(history, aliases) of a settings file, checking that it is whole and
    every length lies within its field; the history stops at its first gap."""
    assert len(data) == SETTINGS_SIZE, len(data)
    history = []
    for i in range(21):
        entry = data[256 * i + 1:256 * i + 1 + data[256 * i]]
        if not entry:
            break
        history.append(entry.decode(OEM))
    aliases = []
    for k in range(20):
        at = 5376 + 267 * k
        assert data[at] <= 10, "alias %d name length %d" % (k, data[at])
        if data[at] == 0:
            break
        aliases.append((data[at + 1:at + 1 + data[at]].decode(OEM),
                        data[at + 12:at + 12 + data[at + 11]].decode(OEM)))
    return history, aliases


class Storm:
    """Overlapping runs, each changing from one directory of the drive to
    another; a share of them killed after a random delay."""

    def __init__(self, vantor, folders, seed):
        self.vantor = vantor
        self.folders = folders  # Windows path -> Linux path
        self.rng = random.Random(seed)
        # Every directory a run started in or went to (the aliases were
        # defined from the scratch folder).
        self.recorded = {vantor.win(vantor.scratch)}
        self.kills = 0
        self.started = 0
        self.codes = []
        self.outputs = []  # files holding what each run that was not killed wrote

    def start(self, env):
        start, target = (self.rng.choice(sorted(self.folders)) for _ in range(2))
        self.recorded.update((start, target))
        output = self.vantor.scratch / ("run%03d.out" % self.started)
        self.started += 1
        with open(output, "wb") as sink:
            proc = subprocess.Popen(["wine", str(self.vantor.exe), target],
                                    cwd=str(self.folders[start]), env=self.vantor.prefix.env(env),
                                    stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.STDOUT)
        kill_at = None
        if self.rng.random() < KILL_SHARE:
            kill_at = time.monotonic() + self.rng.uniform(0.0, 0.3)
        return [proc, kill_at, time.monotonic() + 60, output]

    def messages(self):
        """What the runs that were not killed wrote (changing directory
        writes nothing): one entry per distinct text."""
        return {path.read_bytes() for path in self.outputs} - {b""}

    def run(self, env):
        pending, running = RUNS, []
        while pending or running:
            while pending and len(running) < PARALLEL:
                running.append(self.start(env))
                pending -= 1
            time.sleep(0.005)
            for entry in list(running):
                proc, kill_at, deadline, output = entry
                if proc.poll() is not None:
                    running.remove(entry)
                    if kill_at is None or kill_at != float("inf"):
                        self.codes.append(proc.returncode)
                        self.outputs.append(output)
                elif kill_at is not None and time.monotonic() >= kill_at:
                    proc.kill()
                    self.kills += 1
                    entry[1] = float("inf")  # killed: its code is not the program's
                elif time.monotonic() > deadline:
                    proc.kill()
                    pytest.fail("a run did not end within 60 s")


@pytest.fixture
def drive(vantor):
    """Twenty directories d00..d19 (d02 holds x) on drive S:."""
    base = vantor.tree(["d%02d" % i for i in range(20)] + ["d02\\x"], vantor.scratch / "s")
    vantor.map_drive("S", base)
    return {vantor.win(path): path for path in base.iterdir()}


def define_aliases(vantor, env):
    for name, folder in ALIASES:
        assert vantor.run(["-a", name, folder], env=env).code == EXIT_NORMAL


def report(kind, storm, checked, lost):
    print("\n%s storm: %d runs, %d killed, %d stores checked, entries lost: %d"
          % (kind, RUNS, storm.kills, checked, lost))


def test_a_storm_of_runs_against_one_settings_file(vantor, drive):
    path = vantor.scratch / "vantor.dat"
    env = {"VANTOR": vantor.win(path)}
    define_aliases(vantor, env)
    seen = {"checked": 0, "bad": []}
    stop = threading.Event()

    def watch():
        # Every look at the file, at any moment, finds a whole block.
        while not stop.is_set():
            try:
                decode(path.read_bytes())
            except AssertionError as err:
                seen["bad"].append(str(err))
            seen["checked"] += 1

    watcher = threading.Thread(target=watch)
    watcher.start()
    storm = Storm(vantor, drive, seed=5)
    try:
        storm.run(env)
    finally:
        stop.set()
        watcher.join()
    history, aliases = decode(path.read_bytes())
    strays = [entry for entry in history if entry not in storm.recorded]
    lost = [alias for alias in ALIASES if alias not in aliases]
    report("settings file", storm, seen["checked"] + 1, len(strays) + len(lost))
    # A run killed between writing its new block and moving it over the
    # file leaves that block beside it: litter, never the file itself.
    print("blocks left beside the file by killed runs: %d"
          % len(list(vantor.scratch.glob("vantor.dat.*.tmp"))))
    assert seen["bad"] == [] and seen["checked"] > RUNS
    assert history and strays == [] and lost == []
    assert len(history) == len({entry.upper() for entry in history})
    assert set(storm.codes) == {EXIT_NORMAL} and storm.messages() == set()
    assert storm.kills > RUNS // 10
    # The store still works: one more run adds to it and loads it whole.
    assert vantor.run(["S:\\d07"], env=env).code == EXIT_NORMAL
    assert decode(path.read_bytes())[0][0] == "S:\\d07"


def test_a_storm_of_runs_against_the_registry(vantor, drive):
    define_aliases(vantor, None)
    storm = Storm(vantor, drive, seed=9)
    storm.run(None)
    values = vantor.reg_values()
    history = [values.get("history_%d" % i, "") for i in range(21)]
    aliases = [(values.get("aliasname_%d" % k, ""), values.get("aliasdir_%d" % k, ""))
               for k in range(1, 21)]
    # Runs overlap value by value here, so entries may repeat; every one is
    # still a directory some run recorded, and no alias is lost.
    strays = [entry for entry in history if entry and entry not in storm.recorded]
    lost = [alias for alias in ALIASES if alias not in aliases]
    report("registry", storm, 1, len(strays) + len(lost))
    assert history[0] and strays == [] and lost == []
    assert aliases[:len(ALIASES)] == ALIASES[::-1]
    assert set(storm.codes) == {EXIT_NORMAL} and storm.messages() == set()
    assert storm.kills > RUNS // 10
