"""Crash safety under load: storms of overlapping vantor.exe runs against
one settings file, and against the registry key, some of them defining
aliases, a quarter of them killed at random moments. Afterwards (and, for
the file, all the time) the store is whole: a 10736-byte block that loads,
history entries that are directories some run recorded, the aliases
defined before the storm and every alias that a run which was not killed
defined all there, and the lock that guards the store free.

Bounded: 200 runs per storm, eight at a time, each run given 60 s."""

import random
import statistics
import subprocess
import threading
import time

import pytest

from vantor_e2e import EXIT_NORMAL, OEM, tools_dir

# Storms of hundreds of runs: part of the whole test run, not of the quick one.
pytestmark = pytest.mark.whole

RUNS = 200
PARALLEL = 8
KILL_SHARE = 0.25
SETTINGS_SIZE = 10736
ALIASES = [("src", "S:\\d01"), ("docs", "S:\\d02\\x"), ("far", "Q:\\elsewhere")]
# Every 16th run defines an alias of its own instead of changing directory:
# 13 of them, so with the 3 above and a new file's 2 the table never fills.
DEFINER_EVERY = 16


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
    """Overlapping runs, most changing from one directory of the drive to
    another, every 16th defining an alias; a quarter of them killed.

    A run chosen to be killed is killed at a random moment of a typical
    run's life (up to 0.8 times the median time the runs so far took), so
    that kills fall on start-up, the search and the saves alike. One that
    ends first is not counted, and the next run started is chosen in its
    place: by the last start, killed and chosen runs together reach a
    quarter of the runs, so at least that less the runs in flight are
    killed, however fast or slow the machine is."""

    def __init__(self, vantor, folders, seed, kill_definers):
        self.vantor = vantor
        self.folders = folders  # Windows path -> Linux path
        self.rng = random.Random(seed)
        self.kill_definers = kill_definers
        # Every directory a run started in or went to (the aliases were
        # defined from the scratch folder).
        self.recorded = {vantor.win(vantor.scratch)}
        self.kills = 0
        self.started = 0
        self.durations = [0.3]
        self.codes = []
        self.outputs = []  # files holding what each run that was not killed wrote
        self.defined = []  # aliases defined by runs that were not killed

    def start(self, env, chosen_in_flight):
        start, target = (self.rng.choice(sorted(self.folders)) for _ in range(2))
        self.recorded.update((start, target))
        number = self.started
        self.started += 1
        alias = None
        args = [target]
        if number % DEFINER_EVERY == 5:
            alias = ("s%03d" % number, target)
            args = ["-a", alias[0], alias[1]]
        output = self.vantor.scratch / ("run%03d.out" % number)
        with open(output, "wb") as sink:
            proc = subprocess.Popen(["wine", str(self.vantor.exe)] + args,
                                    cwd=str(self.folders[start]), env=self.vantor.prefix.env(env),
                                    stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.STDOUT)
        now = time.monotonic()
        kill_at = None
        may_kill = alias is None or self.kill_definers
        if may_kill and self.kills + chosen_in_flight < KILL_SHARE * self.started:
            typical = statistics.median(self.durations)
            kill_at = now + self.rng.uniform(0.0, 0.8 * typical)
        return {"proc": proc, "kill_at": kill_at, "started": now, "output": output,
                "alias": alias, "killed": False}

    def messages(self):
        """What the runs that were not killed and changed directory wrote
        (nothing): one entry per distinct text."""
        return {path.read_bytes() for path in self.outputs} - {b""}

    def finish(self, run):
        self.durations.append(time.monotonic() - run["started"])
        self.codes.append(run["proc"].returncode)
        if run["alias"] is None:
            self.outputs.append(run["output"])
            return
        self.defined.append(run["alias"])
        expected = "Vantor: Adding alias %s=%s\r\n" % run["alias"]
        assert run["output"].read_bytes() == expected.encode(OEM)

    def run(self, env):
        pending, running = RUNS, []
        while pending or running:
            while pending and len(running) < PARALLEL:
                chosen = sum(1 for run in running if run["kill_at"] is not None)
                running.append(self.start(env, chosen))
                pending -= 1
            time.sleep(0.005)
            for run in list(running):
                if run["proc"].poll() is not None:
                    running.remove(run)
                    if not run["killed"]:
                        self.finish(run)
                elif run["kill_at"] is not None and time.monotonic() >= run["kill_at"]:
                    run["proc"].kill()
                    self.kills += 1
                    run["killed"], run["kill_at"] = True, None
                elif time.monotonic() > run["started"] + 60:
                    run["proc"].kill()
                    pytest.fail("a run did not end within 60 s")

    def check_lock_free(self, env):
        """No run is left waiting on a killed one: the lock is free."""
        tool = [str(tools_dir() / "settings_lock.exe"), "try"]
        answer = subprocess.run(["wine"] + tool, env=self.vantor.prefix.env(env),
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        assert answer.stdout.strip() == b"free"


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
    print("\n%s storm: %d runs, %d killed, %d aliases defined by runs not killed, "
          "%d stores checked, entries lost: %d"
          % (kind, RUNS, storm.kills, len(storm.defined), checked, lost))


def lost_aliases(storm, aliases):
    return [alias for alias in ALIASES + storm.defined if alias not in aliases]


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
            except (AssertionError, FileNotFoundError) as err:
                seen["bad"].append(str(err))
            seen["checked"] += 1

    watcher = threading.Thread(target=watch)
    watcher.start()
    # The file is replaced whole, so a run killed at any moment leaves the
    # store as it was or as that run left it: definers are killed too.
    storm = Storm(vantor, drive, seed=5, kill_definers=True)
    try:
        storm.run(env)
    finally:
        stop.set()
        watcher.join()
    history, aliases = decode(path.read_bytes())
    strays = [entry for entry in history if entry not in storm.recorded]
    lost = lost_aliases(storm, aliases)
    report("settings file", storm, seen["checked"] + 1, len(strays) + len(lost))
    # A run killed between writing its new block and moving it over the
    # file leaves that block beside it: litter, never the file itself.
    print("blocks left beside the file by killed runs: %d"
          % len(list(vantor.scratch.glob("vantor.dat.*.tmp"))))
    assert seen["bad"] == [] and seen["checked"] > RUNS
    assert history and strays == [] and lost == []
    assert len(history) == len({entry.upper() for entry in history})
    assert set(storm.codes) == {EXIT_NORMAL} and storm.messages() == set()
    assert storm.kills >= RUNS * KILL_SHARE - PARALLEL
    storm.check_lock_free(env)
    # The store still works: one more run adds to it and loads it whole.
    assert vantor.run(["S:\\d07"], env=env).code == EXIT_NORMAL
    assert decode(path.read_bytes())[0][0] == "S:\\d07"


def test_a_storm_of_runs_against_the_registry(vantor, drive):
    define_aliases(vantor, None)
    # The registry has no way to write its 61 values as one: a run killed
    # half-way through the aliases of a definition it was saving would
    # leave the table half shifted. Only the runs that change directory
    # (whose aliases are written back as they were read) are killed here.
    storm = Storm(vantor, drive, seed=9, kill_definers=False)
    storm.run(None)
    values = vantor.reg_values()
    history = [values.get("history_%d" % i, "") for i in range(21)]
    aliases = [(values.get("aliasname_%d" % k, ""), values.get("aliasdir_%d" % k, ""))
               for k in range(1, 21)]
    # Runs overlap value by value here, so entries may repeat; every one is
    # still a directory some run recorded, and no alias is lost.
    strays = [entry for entry in history if entry and entry not in storm.recorded]
    lost = lost_aliases(storm, aliases)
    report("registry", storm, 1, len(strays) + len(lost))
    assert history[0] and strays == [] and lost == []
    assert set(storm.codes) == {EXIT_NORMAL} and storm.messages() == set()
    assert storm.kills >= RUNS * KILL_SHARE - PARALLEL
    storm.check_lock_free(None)
