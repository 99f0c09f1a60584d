"""Consoles side by side: runs that overlap each change the stored history
and aliases as one short transaction under a lock that all runs share, so
what one run stored is never lost to another, in the settings file and in
the registry alike; and each wrapper run hands off through a file of its
own. Each proof prints what was kept, for comparison with
a build without the lock."""

import subprocess
import time

import pytest

from vantor_e2e import EXIT_NORMAL, OEM, parse_shell_output, tools_dir

PROMPT = "Change directory to (a-b or Escape to exit)? "
CORP = "S:\\ProgramData\\Corp"


class Stored:
    """The store under test: the settings file named by VANTOR, or the
    registry key without it."""

    def __init__(self, vantor, kind):
        self.vantor = vantor
        self.kind = kind
        self.path = vantor.scratch / "vantor.dat"
        self.env = {"VANTOR": vantor.win(self.path)} if kind == "file" else None

    def history(self):
        if self.kind == "registry":
            values = self.vantor.reg_values()
            return [values.get("history_%d" % i, "") for i in range(21)]
        data = self.path.read_bytes()
        return [data[256 * i + 1:256 * i + 1 + data[256 * i]].decode(OEM) for i in range(21)]

    def aliases(self):
        """(name, dir) of every used entry, the most recent first."""
        if self.kind == "registry":
            values = self.vantor.reg_values()
            pairs = [(values.get("aliasname_%d" % k, ""), values.get("aliasdir_%d" % k, ""))
                     for k in range(1, 21)]
        else:
            data = self.path.read_bytes()
            pairs = []
            for k in range(20):
                at = 5376 + 267 * k
                pairs.append((data[at + 1:at + 1 + data[at]].decode(OEM),
                              data[at + 12:at + 12 + data[at + 11]].decode(OEM)))
        return [pair for pair in pairs if pair[0]]


@pytest.fixture(params=["file", "registry"])
def stored(request, vantor):
    store = Stored(vantor, request.param)
    # The store exists before the runs start, as it does after a first use.
    assert vantor.run([], env=store.env).code == EXIT_NORMAL
    return store


def start_together(vantor, runs, env):
    """Starts every (arguments, Linux start directory) at once, each with
    `env` or, when it is a list, with the environment of the same place;
    returns the (exit code, output) of each after all have ended."""
    envs = env if isinstance(env, list) else [env] * len(runs)
    procs = [subprocess.Popen(["wine", str(vantor.exe)] + args, cwd=str(cwd),
                              env=vantor.prefix.env(run_env), stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
             for (args, cwd), run_env in zip(runs, envs)]
    return [(proc.returncode, out) for proc, (out, _) in
            ((proc, proc.communicate(timeout=120)) for proc in procs)]


def test_sixteen_aliases_defined_at_once_are_all_kept(vantor, stored):
    names = ["at%02d" % i for i in range(16)]
    results = start_together(vantor, [(["-a", name, "X:\\" + name], vantor.scratch)
                                      for name in names], stored.env)
    kept = [name for name in names if (name, "X:\\" + name) in stored.aliases()]
    print("\n%s: %d of 16 aliases kept" % (stored.kind, len(kept)))
    assert results == [(EXIT_NORMAL, b"Vantor: Adding alias %s=X:\\%s\r\n" % (n.encode(), n.encode()))
                       for n in names]
    assert kept == names


def test_a_link_and_its_target_share_one_lock(vantor):
    """Half the runs name the settings file through a symbolic link to it,
    half by its own name: one file, so one lock, and no alias is lost."""
    store = Stored(vantor, "file")
    assert vantor.run([], env=store.env).code == EXIT_NORMAL
    link = vantor.scratch / "link.dat"
    link.symlink_to(store.path)
    names = ["ln%02d" % i for i in range(16)]
    envs = [{"VANTOR": vantor.win(link if i % 2 else store.path)} for i in range(16)]
    results = start_together(vantor, [(["-a", name, "X:\\" + name], vantor.scratch)
                                      for name in names], envs)
    kept = [name for name in names if (name, "X:\\" + name) in store.aliases()]
    print("\nthrough a link and its target: %d of 16 aliases kept" % len(kept))
    assert [code for code, _ in results] == [EXIT_NORMAL] * 16
    assert kept == names and link.is_symlink()


def test_eight_changes_of_directory_at_once_are_all_recorded(vantor, stored):
    base = vantor.tree(["s%d" % i for i in range(8)] + ["t%d" % i for i in range(8)])
    targets = [vantor.win(base / ("t%d" % i)) for i in range(8)]
    results = start_together(vantor, [([targets[i]], base / ("s%d" % i)) for i in range(8)],
                             stored.env)
    history = stored.history()
    recorded = [target for target in targets if target in history]
    starts = [vantor.win(base / ("s%d" % i)) for i in range(8)]
    print("\n%s: %d of 8 targets and %d of 8 start directories recorded"
          % (stored.kind, len(recorded), len([s for s in starts if s in history])))
    assert results == [(EXIT_NORMAL, b"")] * 8
    assert recorded == targets and set(starts) <= set(history)


def test_a_menu_left_open_keeps_what_another_console_stored(vantor, stored, overview_tree):
    """Console A waits in its menu while console B defines one alias and
    removes another; when A's choice is made, B's aliases stay as B left
    them and A's target is at the front of the history."""
    assert vantor.run(["-a", "old", "X:\\old"], env=stored.env).code == EXIT_NORMAL
    console = vantor.spawn(["pr\\co"], cwd=vantor.scratch / "sroot", env=stored.env)
    try:
        console.wait_text(PROMPT)
        assert vantor.run(["-a", "proj", "X:\\d1"], env=stored.env).code == EXIT_NORMAL
        assert vantor.run(["-a", "old"], env=stored.env).text == "Vantor: Removing alias 'old'\r\n"
        left_by_b = stored.aliases()
        console.send("b")
        assert console.wait_exit() == EXIT_NORMAL
    finally:
        console.close()
    aliases = stored.aliases()
    print("\n%s: after the menu, proj %s, old %s, front of history %s"
          % (stored.kind, "kept" if ("proj", "X:\\d1") in aliases else "lost",
             "back" if ("old", "X:\\old") in aliases else "stays removed", stored.history()[0]))
    assert aliases == left_by_b and aliases[0] == ("proj", "X:\\d1")
    assert stored.history()[0] == CORP


def test_a_lock_held_elsewhere_delays_a_run_a_bounded_time_and_dies_with_its_holder(vantor,
                                                                                   stored):
    """A process that holds the lock and never gives it back (the helper)
    delays each change of a run by the bounded wait alone: the run still
    saves. Once the holder is killed the system frees the lock at once."""
    tool = [str(tools_dir() / "settings_lock.exe")]
    env = vantor.prefix.env(stored.env)

    def try_lock():
        return subprocess.run(["wine"] + tool + ["try"], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=60).stdout.strip()

    holder = subprocess.Popen(["wine"] + tool + ["hold"], env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        assert holder.stdout.readline().strip() == b"held"
        assert try_lock() == b"busy"
        started = time.monotonic()
        res = vantor.run(["-a", "late", "X:\\late"], env=stored.env)
        waited = time.monotonic() - started
        assert (res.code, res.text) == (EXIT_NORMAL, "Vantor: Adding alias late=X:\\late\r\n")
        assert stored.aliases()[0] == ("late", "X:\\late")
        # Start-up's load-and-save and the definition each waited 0.5 s.
        assert waited >= 1.0
    finally:
        holder.kill()
        holder.wait(timeout=60)
    deadline = time.monotonic() + 30
    while try_lock() != b"free":
        assert time.monotonic() < deadline, "the killed holder's lock was never freed"
    print("\n%s: a run under a lock held elsewhere took %.2f s" % (stored.kind, waited))


def test_six_consoles_started_in_the_same_second_each_land_on_their_own_target(vantor):
    """cmd draws the same random numbers in every console started in the
    same second; each c.bat run still hands off through its own file, says
    nothing of it and leaves nothing in TEMP."""
    vantor.map_drive("X", vantor.tree(["d%d" % i for i in range(1, 7)]))
    drivers = [vantor.write_driver(vantor.shell_lines("X:\\d%d" % i, start="X:\\"),
                                   name="console%d.bat" % i) for i in range(1, 7)]
    time.sleep(1.02 - time.time() % 1)
    procs = [subprocess.Popen(["wine", "cmd", "/c", driver], cwd=str(vantor.scratch),
                              env=vantor.prefix.env(), stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
             for driver in drivers]
    landed = [parse_shell_output(proc.communicate(timeout=120)[0]) for proc in procs]
    assert landed == [(EXIT_NORMAL, b"", "X:\\d%d" % i) for i in range(1, 7)]
    assert vantor.temp_names() == []
