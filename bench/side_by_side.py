#!/usr/bin/env python3
"""CPU time of two commands run in turn, so that both meet the same disturbances of a shared machine.

usage: bench/side_by_side.py ROUNDS COMMAND_A... -- COMMAND_B...

Runs A, then B, ROUNDS times, each with its output discarded, and prints the least and the median
CPU time (user + system, in seconds, to the microsecond) of A, then of B: "least_a least_b
median_a median_b". The least time is the one least disturbed by others.
"""
import os
import statistics
import sys


def cpu_seconds(command):
    pid = os.fork()
    if pid == 0:
        null = os.open(os.devnull, os.O_WRONLY)
        os.dup2(null, 1)
        os.dup2(null, 2)
        try:
            os.execvp(command[0], command)
        finally:
            os._exit(127)
    _, _, usage = os.wait4(pid, 0)
    return usage.ru_utime + usage.ru_stime


def main():
    if len(sys.argv) < 5 or "--" not in sys.argv[2:]:
        sys.exit(__doc__)
    rounds = int(sys.argv[1])
    split = sys.argv.index("--", 2)
    first, second = sys.argv[2:split], sys.argv[split + 1:]
    a, b = [], []
    for _ in range(rounds):
        a.append(cpu_seconds(first))
        b.append(cpu_seconds(second))
    print(f"{min(a):.6f} {min(b):.6f} {statistics.median(a):.6f} {statistics.median(b):.6f}")


if __name__ == "__main__":
    main()
