#!/usr/bin/env python3
"""Runs two commands in turn RUNS times and prints the median of the ratios of
their wall times, with each one's median: paired runs, so that whatever else
the machine does weighs on both alike.
  paired_ratio.py RUNS 'COMMAND A' 'COMMAND B'"""
import statistics
import subprocess
import sys
import time


def wall(command: str) -> float:
    start = time.perf_counter()
    subprocess.run(command, shell=True, check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def main() -> None:
    runs, first, second = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    wall(first), wall(second)  # warm the caches once
    pairs = [(wall(first), wall(second)) for _ in range(runs)]
    a = statistics.median(p[0] for p in pairs) * 1000
    b = statistics.median(p[1] for p in pairs) * 1000
    ratio = statistics.median(p[0] / p[1] for p in pairs)
    print(f"{a:.1f} ms vs {b:.1f} ms, median ratio {ratio:.2f}")


if __name__ == "__main__":
    main()
