#!/usr/bin/env python3
"""Runs the same scripts with our script machine (build/bin/vm_run.exe under
Wine) and with Debian's Duktape ("duk") and MuJS ("mujs"), and prints each
time and the ratios. Missing peers are installed with apt when possible and
skipped otherwise.

Our time is what vm_run measures inside the program (compile and run, in
slices of 4000 instructions), so Wine's start-up does not count; a peer's
time is its whole run minus the run of an empty script. Each figure is the
best of five runs."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRIPTS = os.path.join(ROOT, "bench", "scripts")
RUNS = 5


def ensure_peer(command, package):
    if shutil.which(command):
        return True
    for prefix in ([], ["sudo", "-n"]):
        try:
            subprocess.run(prefix + ["apt-get", "install", "-y", package],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
        except (OSError, subprocess.SubprocessError):
            continue
        if shutil.which(command):
            return True
    print(f"{command}: not available, skipped")
    return False


def wall(argv):
    best = None
    out = ""
    for _ in range(RUNS):
        t = time.perf_counter()
        p = subprocess.run(argv, capture_output=True, text=True)
        elapsed = time.perf_counter() - t
        out = p.stdout.strip()
        best = elapsed if best is None else min(best, elapsed)
    return best, out


def ours(wine, exe, script):
    best = None
    out = ""
    for _ in range(RUNS):
        p = subprocess.run([wine, exe, "--time", script], capture_output=True, text=True)
        m = re.search(r"compile ([\d.]+) ms run ([\d.]+) ms", p.stderr)
        if not m:
            return None, p.stdout.strip() + p.stderr.strip()
        compile_ms, run_ms = float(m.group(1)), float(m.group(2))
        total = (compile_ms + run_ms) / 1000
        out = p.stdout.strip()
        best = total if best is None else min(best, total)
    return best, out


def compile_only(wine, exe, script):
    best = None
    for _ in range(RUNS):
        p = subprocess.run([wine, exe, "--time", script], capture_output=True, text=True)
        m = re.search(r"compile ([\d.]+) ms", p.stderr)
        if not m:
            return None
        value = float(m.group(1)) / 1000
        best = value if best is None else min(best, value)
    return best


def big_script(folder):
    lines = []
    for i in range(500):
        lines += [f"function f{i}(a, b) {{",
                  "  var s = 0;",
                  "  for (var i = 0; i < a; i++) { s = s + i * b; }",
                  "  return s;",
                  "}",
                  f"total = {i};"]
    lines.append("print(total);")
    path = os.path.join(folder, "compile3000.js")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    return path


def main():
    wine = subprocess.run(["bash", "-c", f"source {ROOT}/tools/wine-env.sh >/dev/null; velk_find_wine"],
                          capture_output=True, text=True).stdout.strip() or "wine"
    exe = os.path.join(ROOT, os.environ.get("VELK_BUILD_DIR", "build"), "bin", "vm_run.exe")
    if not os.path.exists(exe):
        subprocess.run([os.path.join(ROOT, "tools", "build.sh"), "--target", "vm_run"], check=True)
    peers = [p for p, pkg in (("duk", "duktape"), ("mujs", "mujs")) if ensure_peer(p, pkg)]
    folder = tempfile.mkdtemp()
    empty = os.path.join(folder, "empty.js")
    open(empty, "w").close()
    baseline = {p: wall([p, empty])[0] for p in peers}
    scripts = [(name, os.path.join(SCRIPTS, name + ".js")) for name in ("loop", "fib", "array", "text")]
    print(f"{'script':<14}{'ours ms':>10}" + "".join(f"{p + ' ms':>10}{'ratio':>8}" for p in peers) + "  output")
    slower = []
    for name, path in scripts:
        mine, out = ours(wine, exe, path)
        row = f"{name:<14}{mine * 1000:>10.1f}" if mine is not None else f"{name:<14}{'error':>10}"
        for p in peers:
            t, pout = wall([p, path])
            t = max(t - baseline[p], 1e-6)
            ratio = t / mine if mine else 0
            if mine and ratio < 1:
                slower.append(f"{name} vs {p}")
            row += f"{t * 1000:>10.1f}{ratio:>8.2f}"
            if pout != out:
                row += f"  [{p} printed {pout}]"
        print(row + f"  {out}")
    big = big_script(folder)
    mine = compile_only(wine, exe, big)
    row = f"{'compile 3000':<14}{mine * 1000:>10.1f}"
    for p in peers:
        t, _ = wall([p, big])
        t = max(t - baseline[p], 1e-6)
        row += f"{t * 1000:>10.1f}{t / mine:>8.2f}"
    print(row + "  (peers: parse and run the declarations)")
    print("ratio = peer time / our time (above 1: ours is faster)")
    if slower:
        print("slower than a peer: " + ", ".join(slower))
    shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
