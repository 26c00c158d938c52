#!/usr/bin/env python3
"""Writes BENCHMARKS.md: every figure beside its floor, measured in the same run.

    python3 scripts/bench_table.py BUILD_DIR [OUTPUT]

BUILD_DIR is a Release build with the benchmarks (./dev.sh bench makes build-bench).
PELMORA_BENCH_RUNS sets how many times each process is started (default 11: start-up on this
kind of machine swings by several milliseconds from one start to the next).

Whole processes are timed from before the fork to the moment they report: the program and the
empty window print the time at which their first paint pass is over, once the event loop is back,
and end there (bench/first_paint_probe.cpp, preloaded into both; the program carries nothing for
it), the reading programs are timed to their exit. Peak memory is the kernel's high-water mark
(VmHWM, or ru_maxrss of a finished process started by bench/peak_memory). Idle wake-ups are the context switches of every
thread of the process, counted over a few seconds starting 10 s after the last input: each
switch a sleeping process makes is one wake-up.
"""

import json
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SMALL, LARGE = 3276, 32767
SIZES = (SMALL, LARGE)
RUNS = int(os.environ.get("PELMORA_BENCH_RUNS", "11"))
X_RUNS = 3  # the runs under the virtual X server each wait for the idle period
IDLE_AFTER_S, IDLE_SPAN_S = 10, 4
DRAWS_TIMED, DRAWS_MEMORY = 3200, 20000
WINNING = [5, 12, 23, 34, 45, 56]


# ---------------------------------------------------------------------------------------------
# Files


def ticket_file(path, count):
    """Every ticket holds three of the winning number's numbers: F5 reports them all."""
    lines = ["[Numbers]", f"TOTAL={count}", "W=" + "-".join(f"{n:02d}" for n in WINNING)]
    for i in range(count):
        fields = [WINNING[(i + k) % 6] if k < 3 else 8 + (i * 7 + k * 11) % 52 for k in range(6)]
        lines.append(f"{i + 1}=" + "-".join(f"{n:02d}" for n in fields))
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode())


def draws_file(path, count):
    """A lottery's draw history as it publishes it: heading, newest first, one draw a day."""
    import datetime
    import random
    rnd = random.Random(5)
    day = datetime.date(2026, 2, 18)
    with open(path, "w") as f:
        f.write("DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,"
                "DrawNumber\n")
        for d in range(count):
            numbers = rnd.sample(range(1, 60), 7)
            date = (day - datetime.timedelta(days=d)).strftime("%d-%b-%Y")
            f.write(f"{date}," + ",".join(str(n) for n in numbers) + f",L{d % 12},Lotto{d % 4},"
                    f"{count - d}\n")


class Folder:
    """A program folder: the program beside its data file, and a runtime folder of its own."""

    def __init__(self, build, count):
        self.path = tempfile.mkdtemp(prefix="pelmora-bench-")
        shutil.copy2(os.path.join(build, "pelmora"), self.path)
        self.program = os.path.join(self.path, "pelmora")
        self.data = os.path.join(self.path, "pelmora.pmd")
        if count is not None:
            ticket_file(self.data, count)
        self.runtime = os.path.join(self.path, "run")
        os.mkdir(self.runtime, 0o700)

    def env(self, **extra):
        return dict(os.environ, XDG_RUNTIME_DIR=self.runtime, TMPDIR=self.runtime, **extra)

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)


# ---------------------------------------------------------------------------------------------
# Processes


def run_to_exit(args, env=None):
    """Wall time (ms) from before the fork to the exit, and the peak memory (KiB), which holds
    this script's own (see peak_mib)."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    start = time.monotonic_ns()
    pid = os.posix_spawn(args[0], args, env or os.environ,
                         file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1)])
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.monotonic_ns() - start
    os.close(devnull)
    code = os.waitstatus_to_exitcode(status)
    if code not in (0, 1):
        sys.exit(f"{' '.join(args)}: exit status {code}")
    return elapsed / 1e6, usage.ru_maxrss


def peak_mib(build, args):
    """Peak memory (MiB) of a process of its own, started by a small one: the peak of a child
    spawned from here would include this script's memory, which the child shares until exec."""
    out = subprocess.run([os.path.join(build, "peak_memory"), *args], stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True).stderr
    return int(out.strip().splitlines()[-1]) / 1024


def paint_probe(build):
    return os.path.abspath(os.path.join(build, "first_paint_probe.so"))


def time_to_first_paint(build, args, env, platform_plugin="offscreen"):
    """Wall time (ms) from before the fork to the first paint the process reports."""
    start = time.monotonic_ns()
    out = subprocess.run(args, env=dict(env, LD_PRELOAD=paint_probe(build),
                                        QT_QPA_PLATFORM=platform_plugin),
                         check=True, capture_output=True, text=True).stdout
    return (int(out.strip().splitlines()[-1]) - start) / 1e6


def interleaved(runs, **commands):
    """Runs each command in turn, `runs` times over, so that the figures and their floors share
    whatever else the machine is doing."""
    samples = {name: [] for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            samples[name].append(command())
    return samples


# ---------------------------------------------------------------------------------------------
# Measurements


def measure_processes(build):
    tool = os.path.join(build, "pelmora-check")
    floor_read = os.path.join(build, "floor_read")
    read_tickets = os.path.join(build, "read_tickets")
    floor_window = os.path.join(build, "floor_window")
    results = {}

    empty = Folder(build, None)
    try:
        got = interleaved(RUNS, program=lambda: time_to_first_paint(build, [empty.program], empty.env()),
                          floor=lambda: time_to_first_paint(build, [floor_window], empty.env()))
        results[("startup", 0)] = got
    finally:
        empty.close()

    for count in SIZES:
        folder = Folder(build, count)
        try:
            draws = os.path.join(folder.path, "draws.csv")
            draws_file(draws, DRAWS_TIMED)
            got = interleaved(
                RUNS,
                startup=lambda: time_to_first_paint(build, [folder.program], folder.env()),
                window=lambda: time_to_first_paint(build, [floor_window], folder.env()),
                read=lambda: run_to_exit([read_tickets, folder.data])[0],
                check=lambda: run_to_exit([tool, folder.data])[0],
                scan=lambda: run_to_exit([floor_read, folder.data])[0],
                draws=lambda: run_to_exit([tool, "--draws", draws, folder.data])[0])
            results[("startup", count)] = {"program": got["startup"], "floor": got["window"]}
            results[("read", count)] = {"program": got["read"], "floor": got["scan"]}
            results[("check", count)] = {"program": got["check"], "floor": got["scan"]}
            results[("draws", count)] = {"program": got["draws"]}
            draws_file(draws, DRAWS_MEMORY)
            ms = run_to_exit([tool, "--draws", draws, folder.data])[0]
            results[("draws_memory", count)] = {
                "program": [peak_mib(build, [tool, "--draws", draws, folder.data])]}
            results[("draws_memory_time", count)] = {"program": [ms]}
        finally:
            folder.close()
    return results


def bench_iterations(build, program, *args):
    """Runs a Google Benchmark program of the build RUNS times over and yields the name, size
    and wall time (ms) of each repetition."""
    out = subprocess.run(
        [os.path.join(build, program), f"--benchmark_repetitions={RUNS}",
         "--benchmark_format=json", *args],
        check=True, capture_output=True, text=True,
        env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        if b.get("error_occurred"):
            sys.exit(f"{b['name']}: {b.get('error_message')}")
        name, size = re.match(r"(\w+)/(\d+)", b["name"]).groups()
        yield name, int(size), b["real_time"]


def measure_checks(build):
    """F5 on the real window, in process: the check, the box filled and painted."""
    results = {}
    for name, size, ms in bench_iterations(
            build, "table_bench", "--benchmark_filter=^(CheckAllMatch|CheckSomeMatch)/"):
        key = ("f5_all" if name == "CheckAllMatch" else "f5_some", size)
        results.setdefault(key, {"program": []})["program"].append(ms)
    return results


def measure_draws(build):
    """The Draw History window on the whole history, and the import of it, beside their floors."""
    results = {}
    for name, size, ms in bench_iterations(build, "draws_bench"):
        floor = name.endswith("Floor")
        key = "history_window" if name.startswith("HistoryWindow") else "draws_import"
        size = size if key == "history_window" else LARGE
        results.setdefault((key, size), {"program": [], "floor": []})[
            "floor" if floor else "program"].append(ms)
    return results


def thread_switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as status:
            for line in status:
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
    return total


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(re.search(r"VmHWM:\s+(\d+)", status.read()).group(1))


def idle_wakeups(pid):
    time.sleep(IDLE_AFTER_S)
    before = thread_switches(pid)
    time.sleep(IDLE_SPAN_S)
    return (thread_switches(pid) - before) / IDLE_SPAN_S


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def wait(condition, timeout=120):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f"timed out driving the program: {condition.__name__}")


def program_after_copy(build, count):
    """The program after F5 with every ticket matched and Ctrl+C: peak memory, idle wake-ups."""
    folder = Folder(build, count)
    proc = subprocess.Popen([folder.program], env=folder.env(QT_QPA_PLATFORM="xcb"))
    try:
        window = wait(lambda: xdotool("search", "--onlyvisible", "--pid", str(proc.pid)))
        xdotool("windowfocus", "--sync", window.split()[0])
        xdotool("key", "--clearmodifiers", "F5")

        def copied():  # the results are in the box when Ctrl+C puts them on the clipboard
            xdotool("key", "--clearmodifiers", "ctrl+c")
            got = subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                                 capture_output=True, text=True).stdout
            return got.count("Matched: (") == count
        wait(copied)
        return peak_kib(proc.pid) / 1024, idle_wakeups(proc.pid)
    finally:
        proc.kill()
        proc.wait()
        folder.close()


def empty_window(build):
    proc = subprocess.Popen([os.path.join(build, "floor_window")],
                            env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
    try:
        wait(lambda: xdotool("search", "--onlyvisible", "--pid", str(proc.pid)))
        return peak_kib(proc.pid) / 1024, idle_wakeups(proc.pid)
    finally:
        proc.kill()
        proc.wait()


def measure_under_x(build):
    """Runs itself under xvfb-run, then drives the program there."""
    if not os.environ.get("PELMORA_IN_XVFB"):
        out = subprocess.run(
            ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset", sys.executable, __file__,
             "--under-x", build],
            capture_output=True, text=True, env=dict(os.environ, PELMORA_IN_XVFB="1"))
        if out.returncode != 0:
            sys.exit("under Xvfb: " + out.stderr.strip())
        raw = json.loads(out.stdout.strip().splitlines()[-1])
        return {(k.split("/")[0], int(k.split("/")[1])): v for k, v in raw.items()}
    results = {}
    floor_window = os.path.join(build, "floor_window")
    for count in (None, *SIZES):
        folder = Folder(build, count)
        try:
            got = interleaved(
                RUNS, program=lambda: time_to_first_paint(build, [folder.program], folder.env(), "xcb"),
                floor=lambda: time_to_first_paint(build, [floor_window], folder.env(), "xcb"))
            results[f"startup_x/{count or 0}"] = got
        finally:
            folder.close()
    for count in SIZES:
        got = [program_after_copy(build, count) for _ in range(X_RUNS)]
        floor = [empty_window(build) for _ in range(X_RUNS)]
        results[f"memory/{count}"] = {"program": [g[0] for g in got],
                                      "floor": [f[0] for f in floor]}
        results[f"idle/{count}"] = {"program": [g[1] for g in got],
                                    "floor": [f[1] for f in floor]}
    return results


# ---------------------------------------------------------------------------------------------
# The table

# key, label, unit, goal: ("floor", ratio[, max]) or ("max", value)
ROWS = [
    ("startup_x", "Start-up on an X display, exec to the list painted", "ms", ("floor", 2, 100)),
    ("startup", "Start-up off screen, exec to the list painted (no display server; for comparison)",
     "ms", ("info", None)),
    ("read", "Reading all tickets in a fresh process (floor: one read and a line scan)", "ms",
     ("floor", 2)),
    ("f5_all", "F5, every ticket matched, to the results painted", "ms", ("max", 150)),
    ("f5_some", "F5, every 100th ticket matched (328 of 32,767), to the results painted", "ms",
     ("max", 30)),
    ("check", "`pelmora-check FILE` (floor: one read and a line scan)", "ms", ("floor", 2)),
    ("draws", f"`pelmora-check --draws` with {DRAWS_TIMED:,} published draws, every win listed",
     "ms", ("max", 300)),
    ("history_window", f"Draw History window, {DRAWS_TIMED:,} draws checked, tables filled and "
     "painted (floor: reading the tickets and the history)", "ms", ("max", 150)),
    ("draws_import", f"Import of a published history of {DRAWS_TIMED:,} draws into an empty one "
     "(floor: reading the file and writing it atomically)", "ms", ("max", 100)),
    ("draws_memory", f"`pelmora-check --draws` with {DRAWS_MEMORY:,} draws, peak memory", "MiB",
     ("max", 100)),
    ("memory", "Peak memory after F5 (every ticket matched) and Ctrl+C (floor: empty window)",
     "MiB", ("max", 48)),
    ("idle", f"Wake-ups a second, idle from {IDLE_AFTER_S} s after the last input", "/s",
     ("max", 0)),
]
SCALE_GOAL = 12


def spread(values):
    if not values:
        return "", None
    median = statistics.median(values)
    if len(values) == 1:
        return f"{median:.1f}", median
    return f"{median:.1f} ({min(values):.1f}–{max(values):.1f})", median


def table(results):
    lines = [
        f"| What | {SMALL:,} tickets | {LARGE:,} tickets | floor at {LARGE:,} | ratio to floor "
        f"| {LARGE:,} / {SMALL:,} | goal | met |",
        "|---|---:|---:|---:|---:|---:|---|---|",
    ]
    missed = []
    for key, where, goal in (("startup_x", "on an X display", 2),
                             ("startup", "off screen", None)):
        if (key, 0) not in results:
            continue
        r = results[(key, 0)]
        program, pm = spread(r["program"])
        floor, fm = spread(r["floor"])
        ok = goal is None or pm <= goal * fm
        met = "—" if goal is None else ("yes" if ok else "NO")
        goal_text = "" if goal is None else f"≤ {goal} × floor"
        lines.append(f"| Start-up {where}, exec to the window painted, no tickets (ms) |  "
                     f"| {program} | {floor} | {pm / fm:.2f} |  | {goal_text} | {met} |")
        if not ok:
            missed.append(f"start-up {where} with no tickets")
    for key, label, unit, (kind, goal, *limit) in ROWS:
        small = results.get((key, SMALL))
        large = results.get((key, LARGE))
        if not large:
            continue
        small_text, small_median = spread(small["program"]) if small else ("", None)
        large_text, large_median = spread(large["program"])
        floor_text, floor_median = spread(large.get("floor", []))
        ratio = f"{large_median / floor_median:.2f}" if floor_median else ""
        if kind == "info":
            ok, goal_text = True, ""
        elif kind == "floor":
            ok = large_median <= goal * floor_median
            goal_text = f"≤ {goal} × floor"
            for most in limit:
                ok = ok and large_median <= most and (not small or small_median <= most)
                goal_text += f", ≤ {most} {unit}"
        else:
            ok = large_median <= goal if goal else large_median == 0
            goal_text = f"≤ {goal} {unit}" if goal else "0"
        scale = ""
        if small_median:
            scale = f"{large_median / small_median:.1f}"
            if large_median > SCALE_GOAL * small_median:
                ok = False
        if not ok:
            missed.append(label)
        met = "—" if kind == "info" and ok else ("yes" if ok else "NO")
        lines.append(f"| {label} ({unit}) | {small_text} | {large_text} | {floor_text} | {ratio} "
                     f"| {scale} | {goal_text} | {met} |")
    return lines, missed


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
            f"kernel {platform.release()}; Qt {qt}; Release build")


def load():
    return ", ".join(f"{x:.2f}" for x in os.getloadavg())


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--under-x":
        print(json.dumps(measure_under_x(sys.argv[2])))
        return
    build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
    output = sys.argv[2] if len(sys.argv) > 2 else "BENCHMARKS.md"
    load_before = load()
    results = {}
    results.update(measure_processes(build))
    results.update(measure_checks(build))
    results.update(measure_draws(build))
    results.update(measure_under_x(build))
    load_after = load()
    rows, missed = table(results)
    draws_seconds = ", ".join(
        f"{spread(results[('draws_memory_time', c)]['program'])[0]} ms at {c:,}" for c in SIZES)
    lines = [
        "# Benchmarks",
        "",
        "Every figure beside its floor, measured in the same run by `./dev.sh bench`",
        "(`scripts/bench_table.py`): median, and in brackets the fastest and slowest of "
        f"{RUNS} runs ({X_RUNS} for peak memory and wake-ups, 1 for the {DRAWS_MEMORY:,} draws).",
        "",
        "- Start-up: the whole process, from before the fork to the end of the window's first",
        "  paint (the pass that paints the list, or the window when there are no tickets), against",
        "  an empty Qt Widgets window of the same size started and painted. The goal is judged as",
        "  a person sees it, on an X display (Xvfb, xcb plugin: connecting to the display server",
        "  is part of both). The off-screen rows show the same without a display server, where",
        "  the floor is little more than starting a process that loads Qt, and a window that",
        "  shows text pays for reading the font configuration, which the empty window never does.",
        "- Reading and `pelmora-check`: whole processes, fork to exit, against a process that reads",
        "  the same file into one buffer and counts its lines.",
        "- F5: in process on the real window (off-screen), from the command to the results box",
        "  painted, with the events the command left pending.",
        "- Peak memory (VmHWM) and wake-ups: the program under Xvfb (xcb plugin) driven with",
        "  xdotool, against an empty Qt window there. Wake-ups are the context switches of all",
        f"  threads over {IDLE_SPAN_S} s, starting {IDLE_AFTER_S} s after the last key press.",
        "- `--draws`: whole process, output to /dev/null; its peak memory from a run of its own",
        f"  started by bench/peak_memory; the {DRAWS_MEMORY:,}-draw run took "
        f"{draws_seconds}.",
        "",
        f"Run on {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}: {machine()}. "
        f"Load average before: {load_before}; after: {load_after}.",
        "",
        *rows,
        "",
        f"The last columns hold the goals: the ratio to the floor, an absolute limit, and every "
        f"figure at {LARGE:,} at most {SCALE_GOAL} × its figure at {SMALL:,}.",
        "",
        "The data layer, the check and the command-line tool have benchmarks of their own "
        "(`store_bench`, `check_bench`, `check_ui_bench`, `cli_bench`, `table_bench`).",
        "",
    ]
    with open(output, "w") as f:
        f.write("\n".join(lines))
    print("\n".join(lines))
    if missed:
        sys.exit("goals missed: " + "; ".join(missed))


if __name__ == "__main__":
    main()
