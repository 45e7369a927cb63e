"""Throughput of kordel.decode_many and kordel.decode from a list of VINs.

The VINs are of the mix cli/bench/throughput.sh feeds kordel-decode: three in
four of 13 characters (some leave the model year open, some are rejected), one
in four of 17. Run it pinned to one core, with the built package on the path:

    PYTHONPATH=build/test/python taskset -c 0 python3 python/bench/bench_decode.py
"""

import argparse
import random
import time

import kordel

PREFIXES_13 = ["A1F031B3", "A8A855H1", "A9X855H1", "A1A050A1", "A9A439A1", "A1F031BQ", "A3A350A1"]
PREFIXES_17 = ["1AMCM3877BK1", "1AMCM3577BK1", "2AMCM3877BK1"]


def vins(count):
    pick = random.Random(1).choice
    return [
        f"{pick(PREFIXES_17 if i % 4 == 3 else PREFIXES_13)}{i % 100000:05d}" for i in range(count)
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    data = vins(args.count)
    calls = {
        "decode_many": lambda: sum(1 for _ in kordel.decode_many(data)),
        "decode": lambda: sum(1 for v in data if kordel.decode(v)),
    }
    for name, run in calls.items():
        times = []
        for _ in range(args.runs):
            start = time.process_time()
            run()
            times.append(time.process_time() - start)
        median = sorted(times)[len(times) // 2]
        print(f"{name}: {args.count:,} VINs, median {median:.2f} s of CPU over {args.runs} runs, "
              f"{args.count / median:,.0f} VINs/s")


if __name__ == "__main__":
    main()
