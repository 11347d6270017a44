#!/usr/bin/env python3
"""Runs golden end-to-end cases: one folder each under tests/e2e/cases/.

A case folder holds `args` (one argument per line), an optional `env` (NAME=value
lines), its input files and `expected/` with `stdout`, `stderr`, `status` and every
file the run writes, at the path it writes it. The binary runs under the name
"guidegate" in a fresh temporary copy of the inputs. A case passes when the exit
status, both streams and the set of written files with their bytes all match, and
no input was removed or changed into something else.

A case may hold `first/`, a run made before its own: `first/args`, optional `first/env`
and `first/`'s other files as that run's inputs. It runs first in the same folder, and
what it writes (a JSON report to compare with, say) is an input of the case's run; its
streams are not compared, but it must end with status 0 or 1.

With UPDATE_GOLDEN=1 in the environment, `expected/` is rewritten from the run.

Usage: golden.py BINARY CASE_FOLDER...   (a folder of case folders runs all of them)
"""

import difflib
import os
import shutil
import subprocess
import sys
import tempfile

# The fixed moment every report is dated with unless a case's env file says otherwise:
# 14 November 2023, 22:13:20 UTC.
DEFAULT_EPOCH = b"1700000000"
CASE_FILES = {"args", "env", "expected", "first"}
STREAMS = ("stdout", "stderr", "status")
TIMEOUT_SECONDS = 300


def read_lines(path):
    """The lines of a file as bytes; a final newline ends the last line."""
    with open(path, "rb") as handle:
        data = handle.read()
    if not data:
        return []
    lines = data.split(b"\n")
    if data.endswith(b"\n"):
        lines.pop()
    return lines


def read_env(case):
    path = os.path.join(case, "env")
    env = {}
    if not os.path.exists(path):
        return env
    for line in read_lines(path):
        if not line or line.startswith(b"#"):
            continue
        name, equals, value = line.partition(b"=")
        if not equals or not name:
            raise ValueError(f"{path}: not a NAME=value line: {line!r}")
        env[name] = value
    return env


def snapshot(root):
    """Every entry below root by relative path: the bytes of a file, or what it is."""
    entries = {}
    for folder, directories, files in os.walk(root):
        for name in directories + files:
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, root)
            if os.path.islink(path):
                entries[relative] = ("link", os.readlink(path))
            elif os.path.isdir(path):
                entries[relative] = ("directory", None)
            elif os.path.isfile(path):
                with open(path, "rb") as handle:
                    entries[relative] = ("file", handle.read())
            else:
                entries[relative] = ("special", None)
    return entries


def copy_inputs(case, work):
    for name in os.listdir(case):
        if name in CASE_FILES:
            continue
        source, target = os.path.join(case, name), os.path.join(work, name)
        if os.path.isdir(source) and not os.path.islink(source):
            shutil.copytree(source, target, symlinks=True)
        else:
            shutil.copy2(source, target, follow_symlinks=False)


def run_binary(binary, case, work):
    env = dict(os.environb)
    env[b"SOURCE_DATE_EPOCH"] = DEFAULT_EPOCH
    env.update(read_env(case))
    arguments = read_lines(os.path.join(case, "args"))
    return subprocess.run([b"guidegate"] + arguments, executable=binary, cwd=work, env=env,
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=TIMEOUT_SECONDS)


def run_case(binary, case, work):
    """Runs one case in `work`; returns its outputs by expected/ path, and problems."""
    problems = []
    first = os.path.join(case, "first")
    if os.path.isfile(os.path.join(first, "args")):
        copy_inputs(first, work)
        completed = run_binary(binary, first, work)
        if completed.returncode not in (0, 1):
            problems.append(f"the first run ended with status {completed.returncode}: "
                            + completed.stderr.decode("latin-1").strip())
    copy_inputs(case, work)
    before = snapshot(work)

    completed = run_binary(binary, case, work)
    status = completed.returncode
    outputs = {
        "stdout": completed.stdout,
        "stderr": completed.stderr,
        "status": (b"%d\n" % status) if status >= 0 else (b"killed by signal %d\n" % -status),
    }

    after = snapshot(work)
    for path, (kind, _) in before.items():
        if path not in after:
            problems.append(f"the run removed the input {path}")
        elif after[path][0] != kind:
            problems.append(f"the run turned the input {path} from a {kind} into a {after[path][0]}")
    for path, (kind, content) in sorted(after.items()):
        if before.get(path) == (kind, content):
            continue
        if kind == "file":
            if path in STREAMS:
                problems.append(f"the run wrote a file named {path}, which expected/ keeps for the stream")
            outputs[path] = content
        elif path not in before and kind != "directory":
            problems.append(f"the run created the {kind} {path}")
    for path, (kind, _) in after.items():
        if kind == "directory" and path not in before and not any(
                written.startswith(path + os.sep) for written in outputs):
            problems.append(f"the run created the empty directory {path}")
    return outputs, problems


def expected_files(case):
    expected = os.path.join(case, "expected")
    return {path: content for path, (kind, content) in snapshot(expected).items() if kind == "file"} \
        if os.path.isdir(expected) else {}


def describe_difference(path, wanted, got):
    """A unified diff of two texts, bytes shown one to one, at most 60 lines."""
    wanted_lines = wanted.decode("latin-1").splitlines(keepends=True)
    got_lines = got.decode("latin-1").splitlines(keepends=True)
    diff = list(difflib.unified_diff(wanted_lines, got_lines, f"expected/{path}", f"written {path}", n=1))
    shown = "".join(line if line.endswith("\n") else line + "\n\\ No newline at end of file\n"
                    for line in diff[:60])
    if len(diff) > 60:
        shown += f"... {len(diff) - 60} more diff lines\n"
    return shown


def update(case, outputs):
    expected = os.path.join(case, "expected")
    changed = expected_files(case) != outputs
    shutil.rmtree(expected, ignore_errors=True)
    for path, content in outputs.items():
        target = os.path.join(expected, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as handle:
            handle.write(content)
    return changed


def check(case, outputs):
    """The differences between a run's outputs and the case's expected/ files."""
    wanted = expected_files(case)
    messages = []
    for path in sorted(set(wanted) | set(outputs)):
        if path not in outputs:
            messages.append(f"expected/{path} was not written by the run")
        elif path not in wanted:
            messages.append(f"the run wrote {path}, which expected/ does not hold "
                            f"({len(outputs[path])} bytes)")
        elif wanted[path] != outputs[path]:
            messages.append(describe_difference(path, wanted[path], outputs[path]))
    return messages


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    binary = os.path.abspath(argv[1])
    updating = os.environ.get("UPDATE_GOLDEN") == "1"
    cases = []
    for path in argv[2:]:
        if os.path.isfile(os.path.join(path, "args")):
            cases.append(path)
        elif os.path.isdir(path):  # a folder of cases
            cases += sorted(os.path.join(path, name) for name in os.listdir(path)
                            if os.path.isfile(os.path.join(path, name, "args")))
        else:
            print(f"{path}: not a case folder, skipped")
    failed = 0
    for case in cases:
        name = os.path.basename(os.path.normpath(case))
        with tempfile.TemporaryDirectory(prefix="guidegate-golden-") as work:
            outputs, problems = run_case(binary, case, work)
        if updating and not problems:
            print(f"{name}: {'updated' if update(case, outputs) else 'unchanged'}")
            continue
        messages = problems + ([] if updating else check(case, outputs))
        if messages:
            failed += 1
            print(f"{name}: FAILED")
            for message in messages:
                print(message.rstrip("\n"))
        else:
            print(f"{name}: passed")
    if updating and not failed:
        print("expected/ rewritten: review the changes with git diff before committing them")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
