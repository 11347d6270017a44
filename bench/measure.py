#!/usr/bin/env python3
"""Times guidegate against the parse-only floors on generated inputs.

    measure.py --build DIR --inputs DIR --runs R [--tinyxml2-up-to M] N [N ...]

For every N, the inputs are read from INPUTS/nN (written by generate.py). Each round
runs the two floors (a tinyxml2 document, parse_only; a streaming libexpat parse,
parse_expat) and guidegate for each standard once, in turn, so that a change in
the machine's load hits all of them alike. After one unmeasured warm-up round, at
least R rounds are measured, and more (up to 31) while the size has been measured for
less than a minute. Wall time is taken around each run; peak memory is the child's
maximum resident set size as the kernel reports it (wait4). The table shows medians
and their ratios. Above --tinyxml2-up-to findings the tinyxml2 floor is left out (at
5,000,000 findings it needs about 9 GB).
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
    parser.add_argument("--tinyxml2-up-to", type=int, default=None)
    parser.add_argument("sizes", type=int, nargs="+")
    args = parser.parse_args()

    baseline = os.path.join(args.build, "parse_only")
    expat = os.path.join(args.build, "parse_expat")
    guidegate = os.path.join(args.build, "guidegate")
    rows = []
    for n in args.sizes:
        inputs = os.path.join(args.inputs, "n%d" % n)
        results = os.path.join(inputs, "results.xml")
        commands = {}
        if args.tinyxml2_up_to is None or n <= args.tinyxml2_up_to:
            commands["parse"] = ([baseline, results], None)
        commands["expat"] = ([expat, results], None)
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
            rows.append((n, name, size_mib, median.get("parse"), median["expat"], median[name]))
        print("measured N=%d (%d rounds)" % (n, rounds), file=sys.stderr, flush=True)

    print("| N | standard | XML MiB | tinyxml2 s | tinyxml2 MiB | expat s | expat MiB | guidegate s | guidegate MiB "
          "| time / tinyxml2 | time / expat | memory / tinyxml2 |")
    print("|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for n, name, size_mib, parse, (expat_s, expat_kib), (run_s, run_kib) in rows:
        if parse:
            parse_s, parse_kib = parse
            tinyxml2 = "%.3f | %.0f" % (parse_s, parse_kib / 1024)
            ratios = "%.2f | %.2f | %.3f" % (run_s / parse_s, run_s / expat_s, run_kib / parse_kib)
        else:
            tinyxml2 = "– | –"
            ratios = "– | %.2f | –" % (run_s / expat_s)
        print("| %s | %s | %.0f | %s | %.3f | %.0f | %.3f | %.0f | %s |"
              % (format(n, ","), name, size_mib, tinyxml2, expat_s, expat_kib / 1024, run_s, run_kib / 1024, ratios))

    seconds = {}
    for n, name, _, parse, (expat_s, _), (run_s, _) in rows:
        if parse:
            seconds[(n, "tinyxml2 floor")] = parse[0]
        seconds[(n, "expat floor")] = expat_s
        seconds[(n, "guidegate " + name)] = run_s
    for program in ["tinyxml2 floor", "expat floor"] + ["guidegate " + name for name, _ in STANDARDS]:
        for small, large in zip(args.sizes, args.sizes[1:]):
            if (small, program) in seconds and (large, program) in seconds:
                print("%s: time grows %.1f-fold from N=%s to N=%s"
                      % (program, seconds[(large, program)] / seconds[(small, program)], format(small, ","),
                         format(large, ",")))


if __name__ == "__main__":
    main()
