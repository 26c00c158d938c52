#!/usr/bin/env python3
"""Writes BENCHMARKS.md: every command at 3,276 and 32,767 tickets, and the program's peak memory.

    python3 scripts/bench_table.py BUILD_DIR [OUTPUT]

BUILD_DIR is a Release build with the benchmarks (./dev.sh bench makes build-bench). The times
come from table_bench (median of five repetitions, wall clock). The peak memory is the real
program's, started under a virtual X server on a 32,767-ticket data file, after F5 with every
ticket matched and Ctrl+C: the largest it gets.
"""

import json
import os
import platform
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROWS = [
    ("StartUp", "Start-up (load, list filled, window drawn)", 300),
    ("Open", "File > Open", 300),
    ("New", "File > New over the full file", None),
    ("Save", "File > Save", None),
    ("DeleteHalf", "Delete every other ticket, Save included", 200),
    ("MarkAll", "Mark all", 100),
    ("CopyPlays", "Copy play numbers", 50),
    ("SaveNext", "Entry dialog: Save/Next (file one short of the size)", 30),
    ("Done", "Entry dialog: Done (list read again)", 150),
    ("ViewAll", "Entry dialog: View All", 150),
    ("CheckAllMatch", "F5, every ticket matched", 300),
    ("CheckNoneMatch", "F5, none matched", 50),
    ("CopyResults", "Copy results (every ticket matched)", 50),
]
SMALL, LARGE = 3276, 32767


def run_benchmarks(build):
    out = subprocess.run(
        [os.path.join(build, "table_bench"), "--benchmark_repetitions=5",
         "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
        check=True, capture_output=True, text=True,
        env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        if b.get("error_occurred"):
            sys.exit(f"{b['name']}: {b.get('error_message')}")
        name, size = re.match(r"(\w+)/(\d+)", b["name"]).groups()
        medians[(name, int(size))] = b["real_time"]
    return medians


def ticket_file(path, count):
    winning = [5, 12, 23, 34, 45, 56]
    lines = ["[Numbers]", f"TOTAL={count}", "W=05-12-23-34-45-56"]
    for i in range(count):
        fields = [winning[(i + k) % 6] if k < 3 else 8 + (i * 7 + k * 11) % 52 for k in range(6)]
        lines.append(f"{i + 1}=" + "-".join(f"{n:02d}" for n in fields))
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode())


def peak_memory_kib(build):
    """Runs itself under xvfb-run, then drives the program there."""
    if not os.environ.get("PELMORA_IN_XVFB"):
        out = subprocess.run(
            ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", sys.executable, __file__,
             "--peak", build],
            check=True, capture_output=True, text=True, env=dict(os.environ, PELMORA_IN_XVFB="1"))
        return int(out.stdout.strip().splitlines()[-1])
    work = tempfile.mkdtemp(prefix="pelmora-peak-")
    try:
        shutil.copy2(os.path.join(build, "pelmora"), work)
        ticket_file(os.path.join(work, "pelmora.pmd"), LARGE)
        runtime = os.path.join(work, "run")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, TMPDIR=runtime, QT_QPA_PLATFORM="xcb")
        proc = subprocess.Popen([os.path.join(work, "pelmora")], env=env)
        try:
            window = wait(lambda: xdotool("search", "--onlyvisible", "--pid", str(proc.pid)))
            xdotool("windowfocus", "--sync", window.split()[0])
            xdotool("key", "--clearmodifiers", "F5")
            # The results are in the box when Ctrl+C puts them on the clipboard.
            def copied():
                xdotool("key", "--clearmodifiers", "ctrl+c")
                got = subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                                     capture_output=True, text=True).stdout
                return got.count("Matched: (") == LARGE
            wait(copied)
            with open(f"/proc/{proc.pid}/status") as status:
                peak = re.search(r"VmHWM:\s+(\d+)", status.read()).group(1)
            return int(peak)
        finally:
            proc.kill()
            proc.wait()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def wait(condition, timeout=60):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    sys.exit("timed out driving the program")


def machine():
    cpu = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        mem_gib = int(f.readline().split()[1]) / 1024 / 1024
    os_name = "Linux"
    if os.path.exists("/etc/os-release"):
        with open("/etc/os-release") as f:
            m = re.search(r'PRETTY_NAME="([^"]+)"', f.read())
            os_name = m.group(1) if m else os_name
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "qt6-base-dev"],
                        capture_output=True, text=True).stdout or "unknown"
    return (f"{cpu}, {os.cpu_count()} cores, {mem_gib:.1f} GiB RAM; {os_name}, "
            f"kernel {platform.release()}; Qt {qt}; Release build, off-screen windows")


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--peak":
        print(peak_memory_kib(sys.argv[2]))
        return
    build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
    output = sys.argv[2] if len(sys.argv) > 2 else "BENCHMARKS.md"
    medians = run_benchmarks(build)
    peak = peak_memory_kib(build)
    lines = [
        "# Benchmarks",
        "",
        "Every command at 3,276 and at 32,767 tickets (the most a data file holds), on the real",
        "windows, with the painting that follows each command. Median of five repetitions, wall",
        "clock. Made by `./dev.sh bench` (`scripts/bench_table.py`); the figures below are from",
        f"{time.strftime('%Y-%m-%d')} on: {machine()}.",
        "",
        f"| Command | {SMALL:,} tickets (ms) | {LARGE:,} tickets (ms) | ratio | goal at {LARGE:,} |",
        "|---|---:|---:|---:|---|",
    ]
    failed = []
    for key, label, goal in ROWS:
        small, large = medians[(key, SMALL)], medians[(key, LARGE)]
        verdict = "" if goal is None else (f"< {goal} ms, met" if large < goal
                                           else f"< {goal} ms, MISSED")
        if goal is not None and large >= goal:
            failed.append(label)
        lines.append(f"| {label} | {small:.1f} | {large:.1f} | {large / small:.1f} | {verdict} |")
    lines += [
        "",
        f"Peak memory of the program with {LARGE:,} tickets, after F5 with every ticket matched "
        f"and Ctrl+C: {peak / 1024:.0f} MiB (VmHWM).",
        "",
        "The data layer and the command-line tool have benchmarks of their own "
        "(`store_bench`, `check_bench`, `check_ui_bench`, `cli_bench`).",
        "",
    ]
    with open(output, "w") as f:
        f.write("\n".join(lines))
    print("\n".join(lines))
    if failed:
        sys.exit("goals missed: " + ", ".join(failed))


if __name__ == "__main__":
    main()
