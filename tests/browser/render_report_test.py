#!/usr/bin/env python3
"""Renders a report made from hostile inputs in headless Chromium.

The inputs carry <script>, <img onerror>, <svg onload>, quotes, ampersands and
table-closing tags in remarks, ids, file names, checksums, the tool name and the
project name and version. Chromium loads the report, runs whatever scripts it
holds and dumps the resulting DOM. The test asserts that no script ran (each
payload would have added a <pwned-marker> element or changed the title), that
every text shows exactly as written, and that every table has exactly its
expected number of rows.

Usage: render_report_test.py GUIDEGATE_BINARY
Exit status 0 passed, 1 failed, 77 skipped (Chromium is not installed).
"""

import html
import html.parser
import os
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77

MARK = "document.body.appendChild(document.createElement('pwned-marker'))"
SCRIPT = "<script>" + MARK + "</script>"
IMG = '<img src="x" onerror="' + MARK + '">'
SVG = "<svg/onload=" + MARK + ">"  # no blank: it can stand as an md5sum
BREAKOUT = "</td></tr></tbody></table><table><tr><td>"

PROJECT = "Demo " + SCRIPT + " & \"double\" 'single' <script>document.title='pwned'</script>"
VERSION = "1.0 " + IMG + " &amp; &lt;"
TOOL = "Tarnwick " + IMG
REMARK_33 = "reviewed: " + SCRIPT + " & \"x\" 'y'"
REMARK_34 = "approved " + IMG + BREAKOUT
UNMAPPED_ERRORS = sorted([SCRIPT, BREAKOUT + "id"])  # the table's order: ascending bytes
UNMAPPED_WARNINGS = [IMG]
FILE_A = "src/" + SCRIPT + ".c"
FILE_B = "src/" + IMG + " & 'b'.c"
FILES = [(SVG, FILE_A), ("0cc175b9c0f1b6a831c399e269772661", FILE_B)]

CERT_C_RULES = 99


def attribute(text):
    """The text as an XML attribute value in double quotes."""
    return html.escape(text, quote=True)


def results_xml():
    errors = [
        ("uninitvar", "error", REMARK_33, FILE_A),
        ("nullPointer", "error", REMARK_34, FILE_B),
        (UNMAPPED_ERRORS[0], "error", "", FILE_A),
        (UNMAPPED_ERRORS[1], "error", "", FILE_B),
        (UNMAPPED_WARNINGS[0], "warning", "", FILE_A),
    ]
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', '<results version="3">',
             '<tarnwick product-name="%s" version="2.14"/>' % attribute(TOOL), "<errors>"]
    for error_id, severity, remark, location in errors:
        remark_attribute = ' remark="%s"' % attribute(remark) if remark else ""
        lines.append('<error id="%s" severity="%s"%s><location file="%s" line="1"/></error>'
                     % (attribute(error_id), severity, remark_attribute, attribute(location)))
    lines += ["</errors>", "<safety/>", "</results>", ""]
    return "\n".join(lines)


class Dom(html.parser.HTMLParser):
    """The parts of a dumped DOM the assertions read."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.tags = []        # every start tag, in order
        self.title = ""
        self.heading = None   # text of the last <h2>
        self.tables = []      # (heading before it, rows: lists of cell texts)
        self.bold = []        # texts of <b> elements
        self.text = ""        # the text of the body
        self._open = []
        self._cell = None
        self._table = None

    def handle_starttag(self, tag, attrs):
        self.tags.append(tag)
        self._open.append(tag)
        if tag == "h2":
            self.heading = ""
        elif tag == "table":
            self._table = (self.heading, [])
            self.tables.append(self._table)
        elif tag == "tr" and self._table is not None:
            self._table[1].append([])
        elif tag in ("td", "th"):
            self._cell = ""
        elif tag == "b":
            self.bold.append("")

    def handle_endtag(self, tag):
        if tag in self._open:
            while self._open.pop() != tag:
                pass
        if tag in ("td", "th") and self._cell is not None and self._table and self._table[1]:
            self._table[1][-1].append(self._cell)
            self._cell = None
        elif tag == "table":
            self._table = None

    def handle_data(self, data):
        if "body" in self._open:
            self.text += data
        if "title" in self._open:
            self.title += data
        if "h2" in self._open:
            self.heading += data
        if self._cell is not None:
            self._cell += data
        if "b" in self._open and self.bold:
            self.bold[-1] += data


def dump_dom(chromium, page, profile):
    command = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync",
               "--virtual-time-budget=3000", "--user-data-dir=" + profile, "--dump-dom", "file://" + page]
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=180, check=False)
    if done.returncode != 0 or not done.stdout:
        sys.stderr.write(done.stderr.decode("utf-8", "replace"))
        raise RuntimeError("chromium failed on %s (exit status %d)" % (page, done.returncode))
    dom = Dom()
    dom.feed(done.stdout.decode("utf-8", "replace"))
    return dom


class Checks:
    def __init__(self):
        self.failures = []

    def equal(self, what, actual, expected):
        if actual != expected:
            self.failures.append("%s:\n  expected %r\n  actual   %r" % (what, expected, actual))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    if not chromium:
        print("SKIPPED: Chromium not installed; .ci/run installs it "
              "(or: scripts/ensure-packages.sh chromium)", flush=True)
        return SKIPPED

    with tempfile.TemporaryDirectory(prefix="guidegate-browser-") as work:
        profile = os.path.join(work, "profile")
        checks = Checks()

        # The harness itself: in this browser, each payload does run when it is markup.
        control = os.path.join(work, "control.html")
        with open(control, "w", encoding="utf-8") as page:
            page.write("<html><head><title>control</title></head><body>%s%s%s</body></html>\n"
                       % (SCRIPT, IMG, SVG))
        checks.equal("payloads that ran on the control page", dump_dom(chromium, control, profile).tags.count(
            "pwned-marker"), 3)

        with open(os.path.join(work, "results.xml"), "w", encoding="utf-8") as results:
            results.write(results_xml())
        with open(os.path.join(work, "files.md5"), "w", encoding="utf-8") as files:
            files.write("".join("%s  %s\n" % entry for entry in FILES))
        report = os.path.join(work, "report.html")
        run = subprocess.run([binary, "--cert-c", "--project-name=" + PROJECT, "--project-version=" + VERSION,
                              "--files=files.md5", "--output-file=report.html", "results.xml"],
                             cwd=work, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
        checks.equal("exit status of guidegate", run.returncode, 1)
        checks.equal("standard error of guidegate", run.stderr.decode("utf-8", "replace"), "")

        dom = dump_dom(chromium, report, profile)
        checks.equal("payloads that ran in the report", dom.tags.count("pwned-marker"), 0)
        checks.equal("elements the inputs added", sorted(set(dom.tags) & {"script", "img", "svg"}), [])
        checks.equal("document title", dom.title, "Cert C Compliance Report")
        checks.equal("project name and version", dom.bold, [PROJECT, VERSION])

        tables = {heading: rows for heading, rows in dom.tables}
        checks.equal("tables and their headings", [heading for heading, _ in dom.tables],
                     ["Accepted Violations", "Unmapped", "Files", "Violations"])
        accepted = tables.get("Accepted Violations", [])
        checks.equal("rows of the Accepted Violations table", len(accepted), 1 + 2)
        checks.equal("accepted violations", accepted[1:], [["EXP33", REMARK_33], ["EXP34", REMARK_34]])
        unmapped = tables.get("Unmapped", [])
        checks.equal("rows of the Unmapped table", len(unmapped), 1 + len(UNMAPPED_ERRORS) + len(UNMAPPED_WARNINGS))
        checks.equal("unmapped ids", unmapped[1:], [["error", i, "1"] for i in UNMAPPED_ERRORS] +
                     [["warning", i, "1"] for i in UNMAPPED_WARNINGS])
        files_table = tables.get("Files", [])
        checks.equal("rows of the Files table", len(files_table), 1 + len(FILES))
        checks.equal("file names and checksums", [row[:2] for row in files_table[1:]],
                     [[name, checksum] for checksum, name in sorted(FILES, key=lambda entry: entry[1])])
        checks.equal("rows of the Violations table", len(tables.get("Violations", [])), 1 + CERT_C_RULES)
        checks.equal("every row has its cells", sorted({len(row) for _, rows in dom.tables for row in rows[1:]}),
                     [2, 3])
        checks.equal("checking tool line", "Checking tool: " + TOOL + " 2.14" in dom.text, True)

        for failure in checks.failures:
            print("FAILED: " + failure)
        if checks.failures:
            return 1
        print("passed: no script ran, texts shown as written, every table has its rows")
        return 0


if __name__ == "__main__":
    sys.exit(main())
