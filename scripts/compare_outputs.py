#!/usr/bin/env python3
"""Runs two guidegate binaries on the same generated inputs and compares every output.

    compare_outputs.py --reference OLD --candidate NEW [--runs N] [--work DIR] [--keep]

Each run draws a results file from bench/generate.py (a few hundred findings, a seed per
run) and varies it: XML version 2 or 3, with or without <safety/> and <inline-suppr/>,
suppressed ids. It then picks a standard (all seven in turn), with or without a checkers
report, a files list, --suppressions= and project name and version, asks for the JSON and
Markdown exports too, and runs both binaries with the same SOURCE_DATE_EPOCH. The report,
the exports, standard output, standard error and the exit status must be byte-identical.
Extra arguments after "--" are passed to both binaries. --ignore-charset compares the
reference with the candidate's reports less the first <meta charset="utf-8"> element, for a
reference older than that element. --skip NAME leaves one output out of the comparison
(report.html, report.json, summary.md, stdout, stderr or status), for a change that alters it
on purpose; --candidate-arg ARG gives the candidate alone one more argument (repeatable), to
show that an option of the candidate changes none of the outputs compared. --ignore-warnings
compares the reference with the candidate's standard error less its "Warning: " lines, and the
JSON exports as data less the candidate's "warnings" member and both "schemaVersion" members,
for a reference older than the warnings.

Prints one line per difference and a summary "N runs, M outputs compared, D differences";
exits 1 when there is any difference. Use it before and after a change that must not
change any output.
"""

import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATE = os.path.join(HERE, "..", "bench", "generate.py")
STANDARDS = ["--cert-c", "--cert-c++", "--misra-c-2012", "--misra-c-2023", "--misra-c++-2008",
             "--misra-c++-2023", "--cwe-top25"]
OUTPUTS = ["report.html", "report.json", "summary.md"]
META_CHARSET = b'<meta charset="utf-8">'


def vary_results(text, rng):
    """Variations of the header and footer the tool reacts to."""
    if rng.random() < 0.25:
        text = text.replace('<results version="3">', '<results version="2">', 1)
    if rng.random() < 0.3:
        text = text.replace("<safety/>", "", 1)
    if rng.random() < 0.15:
        text = text.replace("</results>", "<inline-suppr/>\n</results>", 1)
    if rng.random() < 0.1:
        text = text.replace("<errors>", '<errors>\n<error id="syntaxError" severity="error"/>', 1)
    if rng.random() < 0.1:
        text = text.replace("<suppressions>", '<suppressions><suppression errorId="misra-config"/>', 1)
    return text


def run(binary, directory, arguments):
    environment = dict(os.environ, SOURCE_DATE_EPOCH="1700000000")
    process = subprocess.run([binary] + arguments, cwd=directory, capture_output=True, env=environment)
    outputs = {"stdout": process.stdout, "stderr": process.stderr, "status": str(process.returncode).encode()}
    for name in OUTPUTS:
        path = os.path.join(directory, name)
        if os.path.exists(path):
            with open(path, "rb") as f:
                outputs[name] = f.read()
            os.remove(path)
        else:
            outputs[name] = None
    return outputs


def without_warnings(old, new):
    """The outputs of both runs less what the warnings add to the candidate's."""
    new = dict(new, stderr=b"".join(line for line in new["stderr"].splitlines(keepends=True)
                                    if not line.startswith(b"Warning: ")))
    if old["report.json"] is not None and new["report.json"] is not None:
        old_json, new_json = json.loads(old["report.json"]), json.loads(new["report.json"])
        new_json.pop("warnings", None)
        old_json.pop("schemaVersion", None)
        new_json.pop("schemaVersion", None)
        old = dict(old, **{"report.json": json.dumps(old_json).encode()})
        new = dict(new, **{"report.json": json.dumps(new_json).encode()})
    return old, new


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--reference", required=True)
    parser.add_argument("--candidate", required=True)
    parser.add_argument("--runs", type=int, default=280)
    parser.add_argument("--work")
    parser.add_argument("--keep", action="store_true", help="keep the work directory")
    parser.add_argument("--ignore-charset", action="store_true",
                        help='drop the <meta charset="utf-8"> element from the candidate\'s report')
    parser.add_argument("--skip", action="append", default=[], metavar="NAME",
                        help="an output left out of the comparison (repeatable)")
    parser.add_argument("--candidate-arg", action="append", default=[], metavar="ARG",
                        help="an argument given to the candidate only (repeatable)")
    parser.add_argument("--ignore-warnings", action="store_true",
                        help="drop the candidate's warnings from its standard error and JSON export")
    parser.add_argument("extra", nargs="*")
    arguments = parser.parse_args()

    work = arguments.work or tempfile.mkdtemp(prefix="guidegate-compare-")
    os.makedirs(work, exist_ok=True)
    reference = os.path.abspath(arguments.reference)
    candidate = os.path.abspath(arguments.candidate)
    compared = differences = 0
    for number in range(arguments.runs):
        rng = random.Random(number)
        directory = os.path.join(work, str(number))
        os.makedirs(directory, exist_ok=True)
        findings = rng.choice([0, 1, 5, 40, 200, 600])
        subprocess.run([sys.executable, GENERATE, "--findings", str(findings), "--files", str(rng.randint(1, 30)),
                        "--out", directory, "--seed", str(number)], check=True, capture_output=True)
        results = os.path.join(directory, "results.xml")
        with open(results, encoding="utf-8") as f:
            text = vary_results(f.read(), rng)
        with open(results, "w", encoding="utf-8") as f:
            f.write(text)

        args = [STANDARDS[number % len(STANDARDS)]]
        if rng.random() < 0.6:
            args.append("--checkers-report=checkers.txt")
        if rng.random() < 0.6:
            args.append("--files=files.md5")
        if rng.random() < 0.3:
            ids = [piece.split('"')[0] for piece in text.split('error id="')[1:4]]
            args.append("--suppressions=" + ",".join(ids + ["misra-config"] * (rng.random() < 0.2)))
        if rng.random() < 0.7:
            args += ["--project-name=P<&>" + str(number), "--project-version=1." + str(number)]
        args += ["--output-file=report.html", "--json-output=report.json", "--markdown-summary=summary.md"]
        args += arguments.extra
        args.append("results.xml")

        old = run(reference, directory, args)
        new = run(candidate, directory, args[:-1] + arguments.candidate_arg + args[-1:])
        if arguments.ignore_charset and new["report.html"] is not None:
            new["report.html"] = new["report.html"].replace(META_CHARSET, b"", 1)
        if arguments.ignore_warnings:
            old, new = without_warnings(old, new)
        for name in old:
            if name in arguments.skip:
                continue
            compared += 1
            if old[name] != new[name]:
                differences += 1
                print(f"run {number} ({' '.join(args)}): {name} differs")
        if not arguments.keep:
            shutil.rmtree(directory)
    if not arguments.keep and not arguments.work:
        shutil.rmtree(work)
    print(f"{arguments.runs} runs, {compared} outputs compared, {differences} differences")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
