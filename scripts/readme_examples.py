#!/usr/bin/python3
"""The docs' qeldate examples are real output: readme_examples.py TOOL_DIR [--update].

Every fenced block of README.md and docs/*.md whose lines start with "$ " is a session: each
"$ command" runs under sh in a scratch folder, with TOOL_DIR first on PATH and
COLUMNS=80, and must print exactly the lines that follow it up to the next
"$ " line or the block's end. --update rewrites those lines from the tool.
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
PAGES = [ROOT / "README.md"] + sorted((ROOT / "docs").glob("*.md"))


def run(command, tool_dir, scratch):
    env = {k: v for k, v in os.environ.items() if k not in ("QELDATE_TODAY", "LANG", "LC_ALL", "LC_CTYPE", "NO_COLOR")}
    env.update(PATH=f"{tool_dir}{os.pathsep}{env.get('PATH', '')}", COLUMNS="80")
    r = subprocess.run(["sh", "-c", command], capture_output=True, env=env, cwd=scratch, timeout=60)
    return r.stdout.decode("utf-8").splitlines()


def check(page, tool_dir, update):
    """The sessions of one page: the commands whose output differs (and, with
    update, the page rewritten from the tool)."""
    lines = page.read_text(encoding="utf-8").splitlines()
    out, failures, in_block, i = [], [], False, 0
    with tempfile.TemporaryDirectory() as scratch:
        while i < len(lines):
            line = lines[i]
            if line.startswith("```"):
                in_block = not in_block
                out.append(line)
                i += 1
                continue
            if in_block and line.startswith("$ "):
                j = i + 1
                while j < len(lines) and not lines[j].startswith("$ ") and not lines[j].startswith("```"):
                    j += 1
                got = run(line[2:], tool_dir, scratch)
                if got != lines[i + 1:j]:
                    failures.append(f"{page.name}: {line}")
                out.extend([line] + (got if update else lines[i + 1:j]))
                i = j
                continue
            out.append(line)
            i += 1
    if update and failures:
        page.write_text("\n".join(out) + "\n", encoding="utf-8")
    return failures


def main():
    tool_dir, update = os.path.abspath(sys.argv[1]), "--update" in sys.argv
    failures = [f for page in PAGES for f in check(page, tool_dir, update)]
    if update:
        print(f"{len(failures)} example(s) rewritten")
    elif failures:
        print("examples that differ from the tool (scripts/readme_examples.py TOOL_DIR --update):")
        print("\n".join(failures))
        sys.exit(1)
    else:
        print(f"examples of {len(PAGES)} pages: 1 passed, 0 failed")


if __name__ == "__main__":
    main()
