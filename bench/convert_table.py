#!/usr/bin/env python3
"""Runs the frame conversion benchmarks and prints the median table:
bytes per second of convertFrame, memcpy and the plain loop, the ratio
memcpy time / convertFrame time, and the speed-up over the plain loop.
With --threads: one conversion thread against two (and convertFrame's own
choice) as ratios of memcpy time, from one run.

usage: bench/convert_table.py <build dir> [--threads] [extra benchmark flags]
"""
import json
import subprocess
import sys

FORMATS = ["mono8", "mono16", "rgb8", "rgb16"]


def median_times(command):
    results = json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)
    return {row["run_name"].split("/repeats:")[0]: row["real_time"] for row in results["benchmarks"]
            if row.get("aggregate_name") == "median"}


def threads_table(build, flags):
    times = median_times([f"{build}/quorvel_bench", "--benchmark_filter=^ConvertFrameThreads/",
                          "--benchmark_enable_random_interleaving=true", "--benchmark_format=json"] + flags)
    print(f"{'format':7} {'W x H':>11} {'MiB':>5} {'1 thread':>8} {'2 threads':>9} {'chosen':>6} {'2 vs 1':>6}")
    for name, copy_time in times.items():
        if not name.endswith("/method:0"):
            continue
        base = name[:-len("/method:0")]
        one, two, chosen = (times[f"{base}/method:{m}"] for m in (1, 2, 3))
        args = dict(part.split(":") for part in base.split("/")[1:])
        mib = int(args["W"]) * int(args["H"]) * [1, 2, 3, 6][int(args["format"])] / 2**20
        print(f"{FORMATS[int(args['format'])]:7} {args['W'] + ' x ' + args['H']:>11} {mib:5.1f} "
              f"{copy_time / one:8.2f} {copy_time / two:9.2f} {copy_time / chosen:6.2f} {one / two:6.2f}")


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    if "--threads" in sys.argv[2:]:
        threads_table(build, [flag for flag in sys.argv[2:] if flag != "--threads"])
        return
    command = [f"{build}/quorvel_bench", "--benchmark_filter=^(ConvertFrame|Memcpy|PlainLoop)/",
               "--benchmark_format=json"] + sys.argv[2:]
    results = json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)
    medians = {}
    for row in results["benchmarks"]:
        if row.get("aggregate_name") != "median":
            continue
        method, rest = row["run_name"].split("/", 1)
        medians[(method, rest)] = (row["cpu_time"], row["bytes_per_second"])
    print(f"{'format':7} {'W x H':>11} {'convert GB/s':>12} {'memcpy GB/s':>11} {'loop GB/s':>9} "
          f"{'vs memcpy':>9} {'vs loop':>8}")
    for (method, rest), (time, rate) in medians.items():
        if method != "ConvertFrame":
            continue
        args = dict(part.split(":") for part in rest.split("/"))
        copy_time, copy_rate = medians[("Memcpy", rest)]
        loop_time, loop_rate = medians[("PlainLoop", rest)]
        print(f"{FORMATS[int(args['format'])]:7} {args['W'] + ' x ' + args['H']:>11} {rate / 1e9:12.2f} "
              f"{copy_rate / 1e9:11.2f} {loop_rate / 1e9:9.2f} {copy_time / time:9.2f} {loop_time / time:8.1f}")


if __name__ == "__main__":
    main()
