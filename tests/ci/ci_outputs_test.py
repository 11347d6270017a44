#!/usr/bin/env python3
"""The outputs that CI systems read, checked the way their readers read them.

    ci_outputs_test.py GUIDEGATE SOURCE_DIR

Runs the binary over generated analyses of every standard and over analyses full of
hostile texts, each time with every output asked for, and checks
- SARIF against the SARIF 2.1.0 JSON schema (tests/sarif/, validated with jsonschema);
- that the SARIF results are the findings the JSON report lists guideline by guideline,
  with their levels, locations and suppressions, and fingerprints that are unique and do
  not move with the line numbers;
- that no hostile text comes out as it went in where a reader would act on it;
- that the report, the streams and the exit status are the same with and without the
  options.
Exits 1 naming every failed check.
"""

import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

import jsonschema

BINARY = os.path.abspath(sys.argv[1])
SOURCE = os.path.abspath(sys.argv[2])
SARIF_SCHEMA = os.path.join(SOURCE, "tests", "sarif", "sarif-schema-2.1.0.json")
GENERATE = os.path.join(SOURCE, "bench", "generate.py")
STANDARDS = ["--cert-c", "--cert-c++", "--misra-c-2012", "--misra-c-2023", "--misra-c++-2008",
             "--misra-c++-2023", "--cwe-top25"]
WORD_JOINER = "\u2060"

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def run(directory, arguments):
    environment = dict(os.environ, SOURCE_DATE_EPOCH="1700000000")
    process = subprocess.run([BINARY] + arguments, cwd=directory, capture_output=True, env=environment)
    return process.returncode, process.stdout, process.stderr


def read(directory, name):
    with open(os.path.join(directory, name), "rb") as f:
        return f.read()


# Texts an attacker might put into an analysis: markup of every kind, line starts that
# readers take for commands, links, mentions and references, and bytes that are not UTF-8.
HOSTILE = [
    "<script>alert(1)</script>", "<img src=x onerror=alert(1)>", "a|b|c", "`code` ``x``",
    "[link](https://attacker.example/x)", "![image](https://attacker.example/i.png)",
    "https://attacker.example/p?q=1#f", "www.attacker.example", "mail me: evil@attacker.example",
    "@org/team @someone", "#1 org/repo#2 GH-3 !4 ~label %milestone &5 $6", "$x^2$ and $$y$$",
    "::error file=a.c::hijacked", "/close", "{0} {{1}} ]]> &amp; &#x41;", "*bold* _it_ ~~gone~~",
    "line one&#10;::warning::two&#10;/label ~bug", "\u202eevil\u202c", "emoji :smile:",
]


def attribute(text):
    return (text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")
            .replace(">", "&gt;").replace("&amp;#10;", "&#10;").replace("&amp;amp;", "&amp;amp;"))


def hostile_results(mapped_id):
    """Findings whose file names, remarks, ids and severities are hostile texts; the
    ids of severity "error" reach the guidelines that stand for every error."""
    errors = []
    for number, text in enumerate(HOSTILE):
        file_name = attribute("src/" + text + ".c")
        errors.append('<error id="%s" severity="error"><location file="%s" line="%d" column="3"/></error>'
                      % (mapped_id, file_name, number + 1))
        errors.append('<error id="%s" severity="style" remark="%s"><location file="%s" line="%d"/></error>'
                      % (mapped_id, attribute(text), file_name, number + 100))
        errors.append('<error id="%s" severity="error"><location file="%s" line="7"/></error>'
                      % (attribute(text.replace(" ", "")), file_name))
    errors.append('<error id="%s" severity="\xff\xfe&lt;b&gt;"><location file="bad\xffname.c" line="9"/></error>'
                  % mapped_id)
    return ('<?xml version="1.0"?>\n<results version="3"><tarnwick version="2.14 ::x::[y](z)"/><errors>'
            + "".join(errors) + "</errors><suppressions><suppression errorId=\"%s\"/></suppressions>"
            "<safety/></results>\n" % mapped_id).encode("utf-8", "surrogateescape")


def shift_lines(text, by):
    """The same results with every location `by` lines further down."""
    out = []
    for piece in text.split(' line="'):
        if out:
            digits = len(piece) - len(piece.lstrip("0123456789"))
            piece = str(int(piece[:digits]) + by) + piece[digits:] if digits else piece
        out.append(piece)
    return ' line="'.join(out)


OUTPUTS = {"--sarif-output=": "out.sarif"}


def outputs_of(directory, base):
    """Runs with and without the CI outputs; checks that they change nothing else."""
    plain = run(directory, base + ["--output-file=plain.html", "results.xml"])
    plain_html = read(directory, "plain.html")
    asked = [option + name for option, name in OUTPUTS.items()]
    full = run(directory, base + ["--output-file=full.html", "--json-output=out.json"] + asked + ["results.xml"])
    check(full == plain, "%s: the options change the exit status or the streams" % directory)
    check(read(directory, "full.html") == plain_html, "%s: the options change the report" % directory)
    outputs = {name: read(directory, name) for name in OUTPUTS.values()}
    outputs["json"] = json.loads(read(directory, "out.json"))
    outputs["status"] = full[0]
    return outputs


def check_sarif(where, raw, report, validator):
    sarif = json.loads(raw)
    errors = sorted(validator.iter_errors(sarif), key=lambda e: list(e.path))
    check(not errors, "%s: SARIF against the schema: %s" % (where, "; ".join(e.message for e in errors[:3])))
    run_ = sarif["runs"][0]
    rules = run_["tool"]["driver"]["rules"]
    results = run_["results"]
    flag = report["standard"]["flag"]
    check(run_["automationDetails"]["id"] == "guidegate/" + flag[2:].replace("++", "pp") + "/",
          "%s: automationDetails.id" % where)
    check(run_["properties"]["compliant"] == report["result"]["compliant"], "%s: SARIF verdict" % where)

    listed = [g for g in report["guidelines"] if g["findings"]]
    check(len(rules) == len(listed), "%s: one rule per guideline with findings" % where)
    check(len({r["id"] for r in rules}) == len(rules), "%s: rule ids unique" % where)
    expected = [(index, finding) for index, g in enumerate(listed) for finding in g["findings"]]
    check(len(results) == len(expected), "%s: one result per finding and guideline (%d, %d)"
          % (where, len(results), len(expected)))
    levels = {"error": "error", "warning": "warning"}
    for result, (index, finding) in zip(results, expected):
        guideline = listed[index]
        check(result["ruleIndex"] == index and result["ruleId"] == rules[index]["id"], "%s: ruleId" % where)
        check(rules[index]["id"].endswith(guideline["id"]), "%s: rule %s for %s" % (where, rules[index]["id"],
                                                                                    guideline["id"]))
        check(result["level"] == levels.get(finding["severity"], "note"), "%s: level of %s" % (where, finding))
        kinds = [s["kind"] for s in result.get("suppressions", [])]
        check(("inSource" in kinds) == finding["accepted"], "%s: inSource suppression of %s" % (where, finding))
        if "inSource" in kinds:
            check(result["suppressions"][0]["justification"].replace(WORD_JOINER, "") != "" or
                  finding["remark"] == "", "%s: justification" % where)
        suppressed = set(guideline["suppressed"]["byOption"]) | set(guideline["suppressed"]["inResults"])
        check(("external" in kinds) == (finding["id"] in suppressed and not finding["accepted"]),
              "%s: external suppression of %s" % (where, finding))
        places = finding["locations"]
        if places:
            physical = result["locations"][0]["physicalLocation"]
            uri = urllib.parse.unquote(physical["artifactLocation"]["uri"], errors="replace")
            check(uri == places[0]["file"], "%s: uri %r for %r" % (where, uri, places[0]["file"]))
            check(physical.get("region", {}).get("startLine") == places[0]["line"], "%s: startLine" % where)
            check(physical.get("region", {}).get("startColumn") == places[0]["column"], "%s: startColumn" % where)
            check(len(result.get("relatedLocations", [])) == len(places) - 1, "%s: related locations" % where)
        else:
            check("locations" not in result, "%s: a finding without a location has none" % where)
    prints = [r["partialFingerprints"]["guidegateFinding/v1"] for r in results]
    check(len(set(prints)) == len(prints), "%s: SARIF fingerprints unique" % where)
    return prints


def check_hostile_sarif(where, raw):
    sarif = json.loads(raw)
    for result in sarif["runs"][0]["results"]:
        text = result["message"]["text"]
        for raw_text in ("https://", "www.attacker", "evil@attacker", "@org", "#1", "::error", "<script", "<img"):
            check(raw_text not in text, "%s: SARIF message keeps %r: %r" % (where, raw_text, text))
        bare = text.replace("\\[", "").replace("\\]", "").replace("{{", "").replace("}}", "")
        check(not any(c in bare for c in "[]{}"), "%s: SARIF message opens a link or placeholder: %r" % (where, text))
        for suppression in result.get("suppressions", []):
            justification = suppression.get("justification", "")
            check("https://" not in justification and "\n" not in justification, "%s: justification" % where)


def main():
    with open(SARIF_SCHEMA, encoding="utf-8") as f:
        validator = jsonschema.Draft4Validator(json.load(f), format_checker=jsonschema.FormatChecker())
    work = tempfile.mkdtemp(prefix="guidegate-ci-")
    try:
        for number, flag in enumerate(STANDARDS):
            directory = os.path.join(work, "generated-" + flag.strip("-"))
            os.makedirs(directory)
            subprocess.run([sys.executable, GENERATE, "--findings", "400", "--files", "12", "--out", directory,
                            "--seed", str(number), "--catalogues", os.path.join(SOURCE, "src", "catalogues")],
                           check=True, capture_output=True)
            rng = random.Random(number)
            base = [flag, "--checkers-report=checkers.txt", "--files=files.md5", "--project-name=P",
                    "--project-version=1"]
            if rng.random() < 0.7:
                with open(os.path.join(directory, "results.xml"), encoding="utf-8") as f:
                    first_id = f.read().split('error id="')[1].split('"')[0]
                base.append("--suppressions=" + first_id)
            outputs = outputs_of(directory, base)
            prints = check_sarif(directory, outputs["out.sarif"], outputs["json"], validator)

            # The same findings, moved down: the fingerprints stay.
            with open(os.path.join(directory, "results.xml"), encoding="utf-8") as f:
                text = f.read()
            with open(os.path.join(directory, "results.xml"), "w", encoding="utf-8") as f:
                f.write(shift_lines(text, 17))
            moved = outputs_of(directory, base)
            moved_prints = check_sarif(directory + " (moved)", moved["out.sarif"], moved["json"], validator)
            check(moved_prints == prints, "%s: fingerprints move with the lines" % directory)
            check(not prints or moved["out.sarif"] != outputs["out.sarif"], "%s: the moved run reads the same" % directory)

        for flag, mapped_id in [("--misra-c-2012", "misra-c2012-17.7"), ("--cert-c", "nullPointer"),
                                ("--cwe-top25", "nullPointer"), ("--misra-c++-2008", "nullPointer")]:
            directory = os.path.join(work, "hostile-" + flag.strip("-"))
            os.makedirs(directory)
            with open(os.path.join(directory, "results.xml"), "wb") as f:
                f.write(hostile_results(mapped_id))
            base = [flag, "--project-name=" + " ".join(HOSTILE), "--project-version=[v](https://x.example)",
                    "--suppressions=" + mapped_id]
            outputs = outputs_of(directory, base)
            check_sarif(directory, outputs["out.sarif"], outputs["json"], validator)
            check_hostile_sarif(directory, outputs["out.sarif"])
    finally:
        shutil.rmtree(work)

    for failure in failures:
        print("FAILED: " + failure)
    print("%d failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
