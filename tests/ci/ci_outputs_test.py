#!/usr/bin/env python3
"""The outputs that CI systems read, checked the way their readers read them.

    ci_outputs_test.py GUIDEGATE SOURCE_DIR

Runs the binary over generated analyses of every standard and over analyses full of
hostile texts, each time with every output asked for, and checks
- SARIF against the SARIF 2.1.0 JSON schema (tests/sarif/, validated with jsonschema);
- that the SARIF results are the findings the JSON report lists guideline by guideline,
  with their levels, locations and suppressions, and fingerprints that are unique and do
  not move with the line numbers;
- JUnit parsed: one test case per guideline with the outcome its status gives, and counts
  that are those of the test cases; Code Quality: its fields, one issue per counted finding,
  unique fingerprints that are those of SARIF; the Markdown summary rendered by cmark-gfm:
  under 1 MiB, one table row per violated guideline, no link, image, code span or markup;
- that no hostile text comes out as it went in where a reader would act on it (SARIF
  messages, JUnit system-out, the Markdown summary, also no line that starts a command);
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
import xml.etree.ElementTree as ElementTree

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


OUTPUTS = {"--sarif-output=": "out.sarif", "--junit-output=": "out.junit.xml",
           "--code-quality-output=": "out.codequality.json", "--markdown-summary=": "out.md"}


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
    # Every output states the one verdict: the report's result line, the JSON, SARIF,
    # JUnit and the Markdown summary.
    verdict = outputs["json"]["result"]
    html_result = plain_html.decode("utf-8", "replace").split("Result: <font color=\"", 1)[1].split("<", 1)[0]
    check(html_result.split(">", 1)[1] == verdict["text"], "%s: report says %r, JSON %r" % (directory, html_result,
                                                                                            verdict["text"]))
    check(json.loads(outputs["out.sarif"])["runs"][0]["properties"]["compliant"] == verdict["compliant"],
          "%s: SARIF verdict" % directory)
    junit_properties = {p.get("name"): p.get("value") for p in ElementTree.fromstring(outputs["out.junit.xml"]).iter("property")}
    check(junit_properties.get("result") == verdict["text"] and
          junit_properties.get("compliant") == ("true" if verdict["compliant"] else "false"), "%s: JUnit verdict" % directory)
    check(outputs["out.md"].decode("utf-8").split("\n", 1)[0].endswith(": " + verdict["text"]) and
          ("**Result:** " + verdict["text"] + "  \n") in outputs["out.md"].decode("utf-8"), "%s: Markdown verdict" % directory)
    if "--gate=new" not in base:
        check((full[0] == 0) == verdict["compliant"], "%s: exit status %d for %r" % (directory, full[0], verdict["text"]))
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


def check_junit(where, raw, report):
    """One suite of one test case per guideline, in order, each with the outcome its status
    gives; the counts on both levels are those of the test cases."""
    root = ElementTree.fromstring(raw)
    suites = root.findall("testsuite")
    if not check(root.tag == "testsuites" and len(suites) == 1, "%s: JUnit has one testsuite" % where):
        return
    suite = suites[0]
    cases = suite.findall("testcase")
    guidelines = report["guidelines"]
    check(len(cases) == len(guidelines), "%s: one testcase per guideline" % where)
    check(len({c.get("name") for c in cases}) == len(cases), "%s: testcase names unique" % where)
    counts = {"failure": 0, "error": 0, "skipped": 0}
    for case, guideline in zip(cases, guidelines):
        check(case.get("name").endswith(guideline["id"]), "%s: testcase %s for %s" % (where, case.get("name"),
                                                                                      guideline["id"]))
        standard, _, category = case.get("classname").partition(".")
        check("." not in standard and category == (guideline["category"] or "").lower(), "%s: classname" % where)
        outcome = [child.tag for child in case if child.tag in counts]
        status = guideline["status"]
        expected = {"violations": ["failure"], "not-implemented": ["skipped"]}.get(status, [])
        if status == "not-executed":
            expected = outcome if outcome in (["error"], ["skipped"]) else ["error"]
        check(outcome == expected, "%s: %s is %s, JUnit says %s" % (where, guideline["id"], status, outcome))
        for tag in outcome:
            counts[tag] += 1
        if outcome == ["failure"]:
            message = case.find("failure").get("message")
            for violation in guideline["violations"]:
                if violation["id"] not in ("error", "warning"):
                    check("%s: %d" % (violation["id"], violation["count"]) in message.replace(WORD_JOINER, ""),
                          "%s: failure message %r" % (where, message))
    for element in (root, suite):
        check(element.get("tests") == str(len(cases)) and element.get("failures") == str(counts["failure"]) and
              element.get("errors") == str(counts["error"]) and element.get("skipped") == str(counts["skipped"]),
              "%s: JUnit counts on %s" % (where, element.tag))
    check(counts["failure"] == sum(g["status"] == "violations" for g in report["guidelines"]),
          "%s: JUnit failures are the violated guidelines" % where)
    return root


def check_baseline(where, outputs, gated):
    """With a baseline, every output counts the same new findings: JUnit fails exactly the
    guidelines with new violations and errors exactly the other regressed ones, SARIF marks as new
    as many results as the JSON lists new findings, and the exit status is the gate's."""
    report = outputs["json"]
    guidelines = report["guidelines"]
    with_new = [g["id"] for g in guidelines if g["baseline"]["new"] > 0]
    regressed = [g["id"] for g in guidelines if g["baseline"]["regressed"] and g["baseline"]["new"] == 0]
    check(report["baseline"]["guidelinesWithNew"] == len(with_new), "%s: guidelinesWithNew" % where)
    check(all(len(g["baseline"]["newFindings"]) == g["baseline"]["new"] + g["baseline"]["accepted"]["new"]
              for g in guidelines), "%s: newFindings are the new counts" % where)
    root = ElementTree.fromstring(outputs["out.junit.xml"])
    cases = root.find("testsuite").findall("testcase")
    failed = [g["id"] for case, g in zip(cases, guidelines) if case.find("failure") is not None]
    errored = [g["id"] for case, g in zip(cases, guidelines) if case.find("error") is not None]
    check(failed == with_new, "%s: JUnit fails %s, the JSON has new violations in %s" % (where, failed, with_new))
    check(errored == regressed, "%s: JUnit errors %s, the JSON regressed %s" % (where, errored, regressed))
    for case, g in zip(cases, guidelines):
        failure = case.find("failure")
        if failure is not None:
            listed = [line for line in failure.text.split("\n")[1:] if line and not line.startswith("... and")]
            check(len(listed) == min(g["baseline"]["new"], 20), "%s: JUnit lists the new findings of %s"
                  % (where, g["id"]))
    results = json.loads(outputs["out.sarif"])["runs"][0]["results"]
    states = [r.get("baselineState") for r in results]
    new_findings = sum(len(g["baseline"]["newFindings"]) for g in guidelines)
    check(states.count("new") == new_findings, "%s: SARIF new results %d, JSON new findings %d"
          % (where, states.count("new"), new_findings))
    passed = report["baseline"]["gate"]["passed"] if gated else None
    if gated:
        check(passed == (not with_new and not report["baseline"]["regressed"] and not report["fatalErrors"]), "%s: gate verdict" % where)
        check((outputs["status"] == 0) == passed, "%s: exit status %d, gate passed %s"
              % (where, outputs["status"], passed))
    check(b"## New since baseline" in outputs["out.md"], "%s: Markdown has the baseline section" % where)


def check_code_quality(where, raw, report, sarif_prints):
    issues = json.loads(raw)
    counted = [f for g in report["guidelines"] for f in g["findings"] if not f["accepted"]]
    check(isinstance(issues, list) and len(issues) == len(counted), "%s: one issue per counted finding" % where)
    severities = {"info", "minor", "major", "critical", "blocker"}
    for issue in issues:
        check(isinstance(issue.get("description"), str) and isinstance(issue.get("check_name"), str) and
              issue.get("severity") in severities and isinstance(issue["location"].get("path"), str) and
              isinstance(issue["location"]["lines"].get("begin"), int), "%s: Code Quality fields %r" % (where, issue))
    prints = [issue["fingerprint"] for issue in issues]
    check(len(set(prints)) == len(prints), "%s: Code Quality fingerprints unique" % where)
    check(set(prints) <= set(sarif_prints), "%s: Code Quality fingerprints are SARIF's" % where)


def rendered_markdown(raw):
    process = subprocess.run(["cmark-gfm", "--extension", "autolink", "--extension", "table", "--extension",
                              "strikethrough", "--extension", "tagfilter"], input=raw, capture_output=True, check=True)
    return process.stdout.decode("utf-8", "replace")


def check_markdown(where, raw, report, hostile):
    check(len(raw) < 1024 * 1024, "%s: Markdown under 1 MiB" % where)
    text = raw.decode("utf-8")
    html = rendered_markdown(raw)
    violated = [g for g in report["guidelines"] if g["status"] == "violations"]
    rows = html.count("<tr>")
    # the violated rows, the header rows and the status table (7 or 8 rows with its header)
    check(rows == len(violated) + (1 if violated else 0) + 8, "%s: Markdown tables have %d rows" % (where, rows))
    check("<a " not in html and "<img" not in html and "<code" not in html and "<script" not in html and
          "<del" not in html, "%s: Markdown renders a link, image, code span or markup" % where)
    if hostile:
        for line in text.split("\n"):
            check(not line.startswith(("::", "/", "@", "#1", "www")), "%s: Markdown line starts %r" % (where, line))
        for raw_text in ("https://", "www.attacker", "evil@attacker", "@org", "#1", "::error", "$x"):
            check(raw_text not in text, "%s: Markdown keeps %r" % (where, raw_text))


def check_hostile_junit(where, root):
    for out in root.iter("system-out"):
        for raw_text in ("https://", "www.attacker", "evil@attacker", "@org", "#1", "::error", "<script", "`"):
            check(raw_text not in out.text.replace("\\`", ""), "%s: system-out keeps %r" % (where, raw_text))
    # The failure texts and messages name ids and files, which readers show as plain text
    # or in a log: no line of them starts a command, none keeps a link or markup.
    for tag in ("failure", "error", "skipped"):
        for element in root.iter(tag):
            for text in (element.get("message", ""), element.text or ""):
                for raw_text in ("https://", "www.attacker", "evil@attacker", "<script", "<img"):
                    check(raw_text not in text, "%s: %s keeps %r: %r" % (where, tag, raw_text, text))
                for line in text.split("\n"):
                    check(not line.startswith(("::", "/", "@")), "%s: %s line starts %r" % (where, tag, line))


def check_hostile_code_quality(where, raw):
    for issue in json.loads(raw):
        text = issue["description"]
        for raw_text in ("https://", "www.attacker", "evil@attacker", "<script", "<img", "::error"):
            check(raw_text not in text, "%s: Code Quality description keeps %r: %r" % (where, raw_text, text))
        check("\n" not in text, "%s: Code Quality description of more than one line: %r" % (where, text))


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
            check_junit(directory, outputs["out.junit.xml"], outputs["json"])
            check_code_quality(directory, outputs["out.codequality.json"], outputs["json"], prints)
            check_markdown(directory, outputs["out.md"], outputs["json"], False)

            # The same findings, moved down: the fingerprints stay.
            with open(os.path.join(directory, "results.xml"), encoding="utf-8") as f:
                text = f.read()
            with open(os.path.join(directory, "results.xml"), "w", encoding="utf-8") as f:
                f.write(shift_lines(text, 17))
            moved = outputs_of(directory, base)
            moved_prints = check_sarif(directory + " (moved)", moved["out.sarif"], moved["json"], validator)
            check(moved_prints == prints, "%s: fingerprints move with the lines" % directory)
            check(not prints or moved["out.sarif"] != outputs["out.sarif"], "%s: the moved run reads the same" % directory)

            # The first run as the baseline of the moved one, which also repeats its first
            # finding and drops its last: moved lines are not new, the repeat is.
            with open(os.path.join(directory, "baseline.json"), "w", encoding="utf-8") as f:
                json.dump(outputs["json"], f)
            moved_text = shift_lines(text, 17)
            errors = moved_text.split("<error ")
            counted = {f["id"] for g in outputs["json"]["guidelines"] for f in g["findings"] if not f["accepted"]}
            repeated = [e for e in errors[1:] if e.startswith('id="') and e[4:].split('"')[0] in counted
                        and 'remark="' not in e.split(">")[0]]
            if len(errors) > 2 and repeated:
                first = "<error " + repeated[0].split("</error>")[0] + "</error>"
                last = errors[-1].split("</error>", 1)
                errors[-1] = last[1] if len(last) > 1 else errors[-1]
                moved_text = "<error ".join(errors[:-1]) + errors[-1]
                moved_text = moved_text.replace(first, first + first, 1)
            with open(os.path.join(directory, "results.xml"), "w", encoding="utf-8") as f:
                f.write(moved_text)
            check(not repeated or moved_text.count(first) == 2, "%s: the repeated finding" % directory)
            for gated in (False, True):
                extra = ["--baseline=baseline.json"] + (["--gate=new"] if gated else [])
                compared = outputs_of(directory, base + extra)
                check_baseline(directory + (" (gated)" if gated else " (baseline)"), compared, gated)

        for flag, mapped_id in [("--misra-c-2012", "misra-c2012-17.7"), ("--cert-c", "nullPointer"),
                                ("--cwe-top25", "nullPointer"), ("--misra-c++-2008", "nullPointer")]:
            directory = os.path.join(work, "hostile-" + flag.strip("-"))
            os.makedirs(directory)
            with open(os.path.join(directory, "results.xml"), "wb") as f:
                f.write(hostile_results(mapped_id))
            base = [flag, "--project-name=" + " ".join(HOSTILE), "--project-version=[v](https://x.example)",
                    "--suppressions=" + mapped_id]
            outputs = outputs_of(directory, base)
            prints = check_sarif(directory, outputs["out.sarif"], outputs["json"], validator)
            check_hostile_sarif(directory, outputs["out.sarif"])
            junit = check_junit(directory, outputs["out.junit.xml"], outputs["json"])
            if junit is not None:
                check_hostile_junit(directory, junit)
            check_code_quality(directory, outputs["out.codequality.json"], outputs["json"], prints)
            check_hostile_code_quality(directory, outputs["out.codequality.json"])
            check_markdown(directory, outputs["out.md"], outputs["json"], True)
    finally:
        shutil.rmtree(work)

    for failure in failures:
        print("FAILED: " + failure)
    print("%d failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
