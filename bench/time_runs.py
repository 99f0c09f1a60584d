#!/usr/bin/python3
"""Times commands in turn (A B C, A B C, ...), so that a load on the machine
that comes and goes falls on all of them alike; prints the median and the
minimum wall time of each, in milliseconds, and its exit code, one line per
command.

    time_runs.py RUNS WARMUP DIR COMMAND_JSON...

Each COMMAND_JSON is a JSON list of arguments; the commands run in DIR with
standard input from /dev/null and their output discarded. A command must end
with the same exit code every time (a run that failed early would time
nothing); it need not be 0.
"""

import json
import statistics
import subprocess
import sys
import time


def run_once(command, cwd):
    start = time.perf_counter()
    done = subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return (time.perf_counter() - start) * 1000.0, done.returncode


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    runs, warmup, cwd = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    commands = [json.loads(text) for text in sys.argv[4:]]
    times = [[] for _ in commands]
    codes = [set() for _ in commands]
    for round_number in range(warmup + runs):
        for index, command in enumerate(commands):
            elapsed, code = run_once(command, cwd)
            codes[index].add(code)
            if round_number >= warmup:
                times[index].append(elapsed)
    for command, code_set in zip(commands, codes):
        if len(code_set) > 1:
            sys.exit(f"{command} ended with different exit codes: {sorted(code_set)}")
    for samples, code_set in zip(times, codes):
        print(f"{statistics.median(samples):.1f} {min(samples):.1f} {code_set.pop()}")


if __name__ == "__main__":
    main()
