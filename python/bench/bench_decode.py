"""Throughput of kordel.decode_many and kordel.decode over a list of VINs.

The VINs are those cli/bench/throughput.sh feeds kordel-decode: three in four of
13 characters (some ambiguous or rejected), one in four of 17. Run it pinned to
one core, with the built package on the path:

    PYTHONPATH=build/release/python taskset -c 0 python3 python/bench/bench_decode.py
"""

import argparse
import itertools
import time

import kordel


def vins(count):
    """count VINs made from a few prefixes and a running production number."""
    prefixes = ["A0A857H", "A8A855H", "A1F031B", "A3A350A", "A9A057C", "A0A857Q"]
    seventeen = ["1AMCM3877BK", "1AMCW385ODK", "1AMCQ3877BK"]
    out = []
    for i in range(count):
        if i % 4 == 3:
            out.append(f"{seventeen[i % 3]}{100000 + i % 900000:06d}")
        else:
            out.append(f"{prefixes[i % 6]}{100000 + i % 600000:06d}")
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    data = vins(args.count)
    for name, run in [
        ("decode_many", lambda: sum(1 for _ in kordel.decode_many(data))),
        ("decode", lambda: sum(1 for v in data if kordel.decode(v))),
    ]:
        times = []
        for _ in range(args.runs):
            start = time.process_time()
            run()
            times.append(time.process_time() - start)
        best = sorted(times)[len(times) // 2]
        print(f"{name}: {args.count / best:,.0f} VINs/s (median of {args.runs}, CPU time)")


if __name__ == "__main__":
    main()
