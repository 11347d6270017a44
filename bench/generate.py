#!/usr/bin/env python3
"""Writes realistic inputs for guidegate benchmarks into one directory.

    generate.py --findings N --files F --out DIR [--seed S] [--catalogues src/catalogues]

DIR receives
  results.xml   Tarnwick's XML results (version 3): N findings located in the F project files
                and a few system headers, suppressions, the checkers that ran, <safety/>
  files.md5     the F project files in md5sum format
  checkers.txt  a checkers report naming every check, most of them as run

Most findings carry analyzer ids that the built-in tables map (read from the table
sources, so the inputs follow the tables), some carry ids that no table maps. Each id
keeps one severity (error, warning or style) and one CWE number, as the analyzer does;
ids are drawn with a skewed frequency, as in real projects. About 2% of the findings
carry a remark, and each has one to three locations. The same seed gives the same files.
"""

import argparse
import hashlib
import os
import random
import re
import sys

ROW = re.compile(r'\{"((?:[^"\\]|\\.)*)",\s*"(?:[^"\\]|\\.)*",\s*"((?:[^"\\]|\\.)*)"\}')
PAIR = re.compile(r'^\s*\{"([^"]*)", "([^"]*)"\},?\s*$', re.M)

# Ids the analyzer writes that no table maps (filtered against the tables below).
UNMAPPED = [
    "passedByValue", "useStlAlgorithm", "funcArgNamesDifferent", "missingIncludeSystem",
    "noExplicitConstructor", "shadowVariable", "shadowFunction", "shadowArgument",
    "unusedPrivateFunction", "uselessCallsSubstr", "postfixOperator", "useInitializationList",
    "returnByReference", "missingOverride", "duplInheritedMember", "uninitMemberVar",
    "truncLongCastAssignmentExt", "knownArgument", "knownPointerToBool", "consideredHarmful",
    "moduleLocalFunction", "unmatchedSuppression", "checkLevelNormal", "normalCheckLevelMaxBranches",
    "redundantPointerOp", "iterateByValue", "constStatementExt", "cstyleCastExt",
    "solvane-naming-varname", "solvane-naming-functionname", "solvane-threadsafety-unsafe-call",
    "solvane-y2038-unsafe-call", "solvane-custom-rule-1", "solvane-custom-rule-2",
]

SEVERITIES = ("error", "warning", "style")
CWES = (119, 190, 398, 401, 457, 476, 561, 563, 570, 571, 664, 686, 704, 758, 788, 835)
DIRS = ("core", "net", "io", "util", "drivers/can", "drivers/spi", "app", "hal", "os/sched",
        "os/mem", "crypto", "proto/mqtt", "proto/http", "ui", "storage", "test/unit")
STEMS = ("buffer", "channel", "config", "decoder", "encoder", "frame", "handler", "list", "loop",
         "parser", "queue", "session", "socket", "state", "table", "timer", "worker")
SYSTEM_HEADERS = ("/usr/include/stdio.h", "/usr/include/string.h", "/usr/include/stdlib.h")


def read_tables(directory):
    """Mapped ids of every table, the guideline ids per table and the checker labels."""
    mapped, guidelines, labels = set(), {}, set()
    for name in sorted(os.listdir(directory)):
        if not name.endswith(".cpp"):
            continue
        with open(os.path.join(directory, name), encoding="utf-8") as source:
            text = source.read()
        if name == "checker_names.cpp":
            for analyzer_id, label in PAIR.findall(text):
                mapped.add(analyzer_id)
                if label and label != "error":
                    labels.add(label)
            continue
        rows = ROW.findall(text)
        guidelines[name] = [row_id for row_id, _ in rows]
        for _, ids in rows:
            mapped.update(i for i in re.split(r"[, ]", ids) if i and i != "error")
    if not mapped:
        sys.exit("generate.py: no mapped ids found under " + directory)
    return mapped, guidelines, labels


def checker_labels(guidelines, labels):
    """Labels of every check, as the analyzer's checkers report names them."""
    result = set(labels)
    for row in guidelines.get("misra_c_2012_catalogue.cpp", []):
        result.add("Misra C 2012: " + row)
    for row in guidelines.get("misra_c_2023_catalogue.cpp", []):
        result.add("Misra C 2023: " + row)
    for row in guidelines.get("cert_c_catalogue.cpp", []):
        result.add("Cert C: " + row + "-C")
    for row in guidelines.get("cert_cpp_catalogue.cpp", []):
        result.add("Cert C++: " + row + "-CPP")
    for row in guidelines.get("misra_cpp_2008_catalogue.cpp", []):
        result.add("Misra C++ 2008: " + row)
    for row in guidelines.get("misra_cpp_2023_catalogue.cpp", []):
        result.add("Misra C++ 2023: " + row)
    return sorted(result)


def analyzer_ids(mapped, rng):
    """The ids findings are drawn from, as the analyzer writes them: add-on ids carry
    the "solvane-" prefix (MISRA C ones sometimes in their "c-20xx" form)."""
    written = set()
    for mapped_id in sorted(mapped):
        if mapped_id.startswith(("misra-", "cert-", "autosar-")):
            prefixed = "solvane-" + mapped_id
            if prefixed.startswith("solvane-misra-c20") and rng.random() < 0.2:
                prefixed = prefixed[:15] + "-" + prefixed[15:]
            written.add(prefixed)
        else:
            written.add(mapped_id)
    return sorted(written), sorted(i for i in UNMAPPED if i not in mapped)


def file_names(count, rng):
    names = []
    for i in range(count):
        extension = rng.choices((".c", ".cpp", ".h"), (5, 3, 2))[0]
        names.append("src/%s/%s_%05d%s" % (rng.choice(DIRS), rng.choice(STEMS), i, extension))
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--findings", type=int, required=True)
    parser.add_argument("--files", type=int, required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--catalogues", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                             "..", "src", "catalogues"))
    args = parser.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.out, exist_ok=True)

    mapped, guidelines, labels = read_tables(args.catalogues)
    mapped_ids, unmapped_ids = analyzer_ids(mapped, rng)

    # About 12% of the findings carry unmapped ids; within each group the ids follow a
    # Zipf-like frequency in a shuffled order.
    rng.shuffle(mapped_ids)
    rng.shuffle(unmapped_ids)
    ids = mapped_ids + unmapped_ids
    weights = []
    for group, share in ((mapped_ids, 0.88), (unmapped_ids, 0.12)):
        zipf = [1 / (rank + 1) ** 0.9 for rank in range(len(group))]
        weights += [w / sum(zipf) * share for w in zipf]
    severity = {i: rng.choices(SEVERITIES, (25, 30, 45))[0] for i in ids}
    cwe = {i: rng.choice(CWES) for i in ids}

    files = file_names(args.files, rng)
    with open(os.path.join(args.out, "files.md5"), "w", encoding="utf-8") as out:
        for name in files:
            out.write("%s  %s\n" % (hashlib.md5(name.encode()).hexdigest(), name))

    labels = checker_labels(guidelines, labels)
    ran = [label for label in labels if rng.random() < 0.9]
    ran_set = set(ran)
    with open(os.path.join(args.out, "checkers.txt"), "w", encoding="utf-8") as out:
        out.write("Tarnwick checkers report\n========================\n\n")
        for label in labels:
            if label in ran_set:
                out.write("Yes  %s\n" % label)
            else:
                out.write("No   %-60s require:addon\n" % label)

    drawn = rng.choices(ids, weights, k=args.findings)
    with open(os.path.join(args.out, "results.xml"), "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n<results version="3">\n')
        out.write('    <tarnwick version="2.14.1"/>\n    <errors>\n')
        chunk = []
        for analyzer_id in drawn:
            main_file = files[rng.randrange(len(files))]
            symbol = "var_%d" % rng.randrange(5000)
            line = rng.randrange(1, 4000)
            locations = [(main_file, line)]
            for _ in range(rng.choices((0, 1, 2), (50, 35, 15))[0]):
                where = rng.random()
                if where < 0.5:
                    other = main_file
                elif where < 0.9:
                    other = files[rng.randrange(len(files))]
                else:
                    other = rng.choice(SYSTEM_HEADERS)
                locations.append((other, rng.randrange(1, 4000)))
            remark = ' remark="Deviation GG-%d: reviewed and accepted"' % rng.randrange(10000) \
                if rng.random() < 0.02 else ""
            chunk.append(
                '        <error id="%s" severity="%s" msg="Check &apos;%s&apos; in this scope"'
                ' verbose="The value of &apos;%s&apos; is used where %s reports a problem; see the'
                ' documentation of &quot;%s&quot;." cwe="%d" file0="%s"%s>\n'
                % (analyzer_id, severity[analyzer_id], symbol, symbol, analyzer_id, analyzer_id,
                   cwe[analyzer_id], main_file, remark))
            for name, at in reversed(locations):
                chunk.append('            <location file="%s" line="%d" column="%d" info="%s"/>\n'
                             % (name, at, rng.randrange(1, 80), symbol))
            chunk.append('            <symbol>%s</symbol>\n        </error>\n' % symbol)
            if len(chunk) > 4096:
                out.write("".join(chunk))
                chunk.clear()
        out.write("".join(chunk))
        out.write("    </errors>\n    <suppressions>\n")
        for _ in range(40):
            suppressed = rng.choice(ids)
            out.write('        <suppression errorId="%s" fileName="%s"/>\n'
                      % (suppressed, files[rng.randrange(len(files))]))
        out.write("    </suppressions>\n    <checkers-report>\n")
        for label in ran:
            out.write('        <checker id="%s"/>\n' % label)
        out.write("    </checkers-report>\n    <safety/>\n</results>\n")


if __name__ == "__main__":
    main()
