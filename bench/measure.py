#!/usr/bin/env python3
"""Times guidegate against the parse-only baseline on generated inputs.

    measure.py --build DIR --inputs DIR --runs R N [N ...]

For every N, the inputs are read from INPUTS/nN (written by generate.py). Each round
runs the baseline and guidegate for each standard once, in turn, so that a change in
the machine's load hits all of them alike. After one unmeasured warm-up round, at
least R rounds are measured, and more (up to 31) while the size has been measured for
less than a minute. Wall time is taken around each run; peak memory is the child's
maximum resident set size as the kernel reports it (wait4). The table shows medians
and their ratios.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

STANDARDS = (("MISRA C 2023", "--misra-c-2023"), ("CERT C++", "--cert-c++"))


def run(command, output=None):
    """Wall seconds and peak resident KiB of one run. For guidegate (which writes
    `output`) exit status 1 is a non-compliant report; any other failure, or a report
    that was not written, ends the measurement."""
    if output and os.path.exists(output):
        os.remove(output)
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code not in ((0, 1) if output else (0,)) or (output and not os.path.exists(output)):
        sys.exit("measure.py: %s failed with status %d" % (" ".join(command), code))
    return elapsed, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--inputs", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("sizes", type=int, nargs="+")
    args = parser.parse_args()

    baseline = os.path.join(args.build, "parse_only")
    guidegate = os.path.join(args.build, "guidegate")
    rows = []
    for n in args.sizes:
        inputs = os.path.join(args.inputs, "n%d" % n)
        results = os.path.join(inputs, "results.xml")
        commands = {"parse": ([baseline, results], None)}
        for name, flag in STANDARDS:
            output = os.path.join(inputs, "report%s.html" % flag)
            commands[name] = ([guidegate, flag, "--files=" + os.path.join(inputs, "files.md5"),
                               "--checkers-report=" + os.path.join(inputs, "checkers.txt"),
                               "--project-name=Bench", "--project-version=1", "--output-file=" + output,
                               results], output)
        for command, output in commands.values():  # warm-up: file cache, page tables
            run(command, output)
        samples = {key: [] for key in commands}
        started = time.perf_counter()
        rounds = 0
        # Short runs are noisier: a size gets more rounds while it has taken less than a minute.
        while rounds < args.runs or (time.perf_counter() - started < 60 and rounds < 31):
            for key, (command, output) in commands.items():
                samples[key].append(run(command, output))
            rounds += 1
        median = {key: (statistics.median(t for t, _ in values), statistics.median(m for _, m in values))
                  for key, values in samples.items()}
        size_mib = os.path.getsize(results) / 2**20
        for name, _ in STANDARDS:
            rows.append((n, name, size_mib, median["parse"], median[name]))
        print("measured N=%d (%d rounds)" % (n, rounds), file=sys.stderr, flush=True)

    print("| N | standard | XML MiB | parse-only s | parse-only MiB | guidegate s | guidegate MiB "
          "| time ratio | memory ratio |")
    print("|---:|---|---:|---:|---:|---:|---:|---:|---:|")
    for n, name, size_mib, (parse_s, parse_kib), (run_s, run_kib) in rows:
        print("| %s | %s | %.0f | %.3f | %.0f | %.3f | %.0f | %.2f | %.2f |"
              % (format(n, ","), name, size_mib, parse_s, parse_kib / 1024, run_s, run_kib / 1024,
                 run_s / parse_s, run_kib / parse_kib))

    seconds = {}
    for n, name, _, (parse_s, _), (run_s, _) in rows:
        seconds[(n, "parse-only")] = parse_s
        seconds[(n, "guidegate " + name)] = run_s
    for program in ["parse-only"] + ["guidegate " + name for name, _ in STANDARDS]:
        for small, large in zip(args.sizes, args.sizes[1:]):
            print("%s: time grows %.1f-fold from N=%s to N=%s"
                  % (program, seconds[(large, program)] / seconds[(small, program)], format(small, ","),
                     format(large, ",")))


if __name__ == "__main__":
    main()
