#!/usr/bin/env python3
"""Checks that every #include in src/ runs down the layers, never up or sideways.

Usage: python3 scripts/check-layers.py [REPO_ROOT]
Prints each include that breaks the order (file, line, what it includes, why) and exits 1 when
there is one; otherwise prints a one-line summary and exits 0. The order is written here once.
"""
import os
import re
import sys

# The layers from the bottom up. A file may include its own layer and any layer below it.
LAYERS = [
    "platform",   # ports: small pure interfaces, no <windows.h>
    "text",       # pure text rules
    "registry",   # key owner, subkey walk, reader, policy writer, key paths
    "cache",      # URL-cache cleaning
    "zonemap",    # the zone map: reading, clearing, writing sites
    "reports",    # the check and completion reports, add-on inspection
    "backup",     # the backup of what an apply changes, and the log
    "apply",      # the interactive and the unattended apply
    "windows",    # the windows as models, the window manager, start-up
    "ui/win32",   # the window host: real windows for the models
    "main",       # wWinMain: wires the real platform to the windows
]

# Adapters beside the stack. Each includes only the ports and itself; only the layers named
# here may include it (nothing in src/ includes the in-memory adapters: the tests do).
ADAPTERS = {
    "platform/sim": [],
    "platform/win32": ["ui/win32", "main"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The layer or adapter a path under src/ belongs to: the longest folder that names one."""
    best = None
    for name in list(LAYERS) + list(ADAPTERS):
        if (path == name or path.startswith(name + "/")) and (best is None or len(name) > len(best)):
            best = name
    return best


def why_not(source, target):
    """None when `source` may include `target`, else the reason it may not."""
    if source == target:
        return None
    if target in ADAPTERS:
        if source in ADAPTERS[target]:
            return None
        return f"only {', '.join(ADAPTERS[target]) or 'the tests'} may include the adapters in {target}/"
    if source in ADAPTERS:
        return None if target == "platform" else f"an adapter includes only the ports (platform/), not {target}/"
    if LAYERS.index(target) > LAYERS.index(source):
        return f"{source}/ lies below {target}/: an include may not run back up"
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    src = os.path.join(root, "src")
    problems = []
    files = includes = 0
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.relpath(os.path.join(folder, name), src).replace(os.sep, "/")
            files += 1
            source = folder_of(path)
            if source is None:
                problems.append(f"src/{path}: lies in no layer")
                continue
            with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = folder_of(match.group(1))
                    if target is None:
                        continue  # not a file of src/
                    includes += 1
                    reason = why_not(source, target)
                    if reason:
                        problems.append(f"src/{path}:{number}: includes \"{match.group(1)}\": {reason}")
    for problem in problems:
        print(problem)
    print(f"layers: {files} files, {includes} includes between src/ files, {len(problems)} against the order "
          f"({' < '.join(LAYERS)}; adapters {', '.join(ADAPTERS)})")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
