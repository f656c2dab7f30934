#!/usr/bin/env python3
"""Runs the frame conversion benchmarks and prints the median table:
bytes per second of convertFrame, memcpy and the plain loop, the ratio
memcpy time / convertFrame time, and the speed-up over the plain loop.

usage: bench/convert_table.py <build dir> [extra benchmark flags]
"""
import json
import subprocess
import sys

FORMATS = ["mono8", "mono16", "rgb8", "rgb16"]


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
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
