#!/usr/bin/env python3
"""Measures serenitap next to a bare Qt window (baseline_window) on the X
display this runs on (bench/run starts it under xvfb-run).

Prints one line per figure, `name value target`, and exits with 1 when a
target is missed. Lines whose target is `-` are for information only.

Start-up, memory and the time My Progress takes to open on a long journal are
judged only on a quiet machine: when the 1-minute
load is above MAX_LOAD before either is measured, their figures are still
printed, with the target `too-busy`, and the script ends with the line
"too busy to judge ..." and exit code 3 (unless another target was missed).
On a busy machine both programs wait for the CPU and their ratio shrinks
toward 1, so a start-up ratio measured there says nothing.

  startup_ms           median time from process start to the first painted window
  peak_rss_mib         VmHWM of a program that went through the intro and 60 s of tapping
  cpu_tapping_pct      utime+stime over 30 s of a tapping step, % of one core
  cpu_idle_pct         utime+stime over 10 s on the introduction, % of one core
  ticks_per_60s        step timer ticks per 60 s of wall time (10 ms timer: 6000)
  text_window_*        the same start-up and memory of a third program, the bare
                       window showing the first step's text in the program's type
                       (text_window): what that text alone costs, for reading the
                       others; not judged
  load_avg_1min_start  the machine's 1-minute load before anything is measured
  load_avg_1min        the machine's load while measuring, for reading the others
  journal_*            the same with a journal of 10,000 sessions (see journal_figures)
  progress_100k_*      My Progress on a journal of 100,000 sessions (see long_journal_figures)

The timestamps on both sides are CLOCK_MONOTONIC: time.monotonic_ns() here,
std::chrono::steady_clock in the programs (SERENITAP_BENCH_FIRST_PAINT).
Tick counts come from the SERENITAP_BENCH_TICK_LOG file the program appends
"<ticks> <monotonic ns>" to every 100 ticks.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")

STARTUP_RUNS = 21       # measured starts of each program, alternating (after one warm-up start)
STARTUP_FACTOR = 1.3    # program startup <= factor * baseline
MEMORY_MARGIN_MIB = 6   # program peak <= baseline peak + margin
MAX_LOAD = 1.0          # start-up and memory are judged only below this 1-minute load
EXIT_TOO_BUSY = 3
QUIET_WAIT_S = 180      # how long to wait for the load of a build that just ran to die down
CPU_TAPPING_MAX = 2.0   # % of one core
CPU_IDLE_MAX = 0.2      # % of one core
SETTLE_S = 2.0          # after the window shows, before idle is measured
IDLE_S = 10.0
TAPPING_CPU_S = 30.0
TICK_S = 60.0           # the tick window starts with the tapping CPU window
TICK_MS = 10
TICK_TOLERANCE = 0.001


def log(message):
    print(f"[bench] {message}", file=sys.stderr, flush=True)


def load_average():
    with open("/proc/loadavg") as f:
        return float(f.read().split()[0])


def wait_for_quiet():
    """Waits up to QUIET_WAIT_S for the 1-minute load to fall to MAX_LOAD (a
    build that has just finished leaves it high for a minute or two)."""
    deadline = time.monotonic() + QUIET_WAIT_S
    load = load_average()
    if load > MAX_LOAD:
        log(f"1-minute load {load:.2f}: waiting up to {QUIET_WAIT_S} s for it to fall to {MAX_LOAD:.0f}")
    while load > MAX_LOAD and time.monotonic() < deadline:
        time.sleep(5)
        load = load_average()
    return load


def cpu_seconds(pid):
    """utime + stime of the whole process (all threads), in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        # The command name may hold blanks: fields are counted after its ')'.
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK


def vm_hwm_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError(f"no VmHWM for {pid}")


def cpu_percent(pid, seconds):
    c0, t0 = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    c1, t1 = cpu_seconds(pid), time.monotonic()
    return 100.0 * (c1 - c0) / (t1 - t0)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True,
                          timeout=30).stdout


def wait_window(proc, timeout=30):
    """The id of the top-level window titled Serenitap that proc shows."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if proc.poll() is not None:
            raise RuntimeError(f"{proc.args[0]} exited with {proc.returncode} before showing its window")
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(proc.pid),
                                "--name", "^Serenitap$"], capture_output=True, text=True)
        ids = found.stdout.split()
        if ids:
            return ids[0]
        time.sleep(0.05)
    raise RuntimeError(f"{proc.args[0]}: no window after {timeout} s")


def window_geometry(window):
    geometry = {}
    for line in xdotool("getwindowgeometry", "--shell", window).split():
        key, _, value = line.partition("=")
        geometry[key] = int(value) if value.lstrip("-").isdigit() else value
    return geometry


def stop(proc):
    if proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def first_paint_ms(exe, env):
    run_env = dict(env, SERENITAP_BENCH_FIRST_PAINT="1")
    start = time.monotonic_ns()
    proc = subprocess.run([exe], env=run_env, capture_output=True, text=True, timeout=60)
    for line in proc.stderr.splitlines():
        if line.startswith("first_paint_ns "):
            return (int(line.split()[1]) - start) / 1e6
    raise RuntimeError(f"{exe} printed no first paint (exit {proc.returncode}):\n{proc.stderr}")


def read_ticks(path):
    """The last (ticks, monotonic ns) line of the tick log, or None."""
    try:
        with open(path) as f:
            lines = f.read().split("\n")
    except FileNotFoundError:
        return None
    complete = [line for line in lines[:-1] if line.strip()]  # the last piece may be half written
    if not complete:
        return None
    ticks, ns = complete[-1].split()
    return int(ticks), int(ns)


def start_tapping(window):
    """Takes the shown program from its introduction to the first tapping point."""
    # Keys go to the window under the pointer (no window manager): the
    # pointer rests on the instruction pane, as a user's would; it never clicks.
    g = window_geometry(window)
    xdotool("mousemove", str(g["X"] + 60), str(g["Y"] + g["HEIGHT"] // 2))
    time.sleep(0.3)
    # Intro -> thymus -> issue -> SUD -> karate chop -> first tapping point.
    for _ in range(5):
        xdotool("key", "n")
        time.sleep(0.3)
    time.sleep(1.5)


def ticks_per_window(first, last):
    """Ticks between two tick log lines, scaled to TICK_S of wall time."""
    return (last[0] - first[0]) * (TICK_S * 1e9) / (last[1] - first[1])


def tick_bounds():
    expected = TICK_S * 1000 / TICK_MS
    return expected * (1 - TICK_TOLERANCE), expected * (1 + TICK_TOLERANCE)


# --- Journal figures ---------------------------------------------------------
# With a journal of JOURNAL_SESSIONS sessions and keeping the journal on:
#
#   journal_startup_ms          median start-up, against no_journal_startup_ms
#                               measured alternately with it (no journal, off)
#   progress_chart_ms           median time from the "My Progress" command to the
#                               first paint of its chart (SERENITAP_BENCH_PROGRESS)
#   journal_ticks_per_60s       the step timer over TICK_S of tapping, the
#                               session being recorded, within TICK_TOLERANCE
#
# The journal is made by journal_fill (built next to the program) through the
# program's own journal store, in a scratch XDG_DATA_HOME.
JOURNAL_SESSIONS = 10_000
JOURNAL_STARTUP_FACTOR = 1.05   # with the journal <= factor * without
JOURNAL_STARTUP_RUNS = 31       # starts of each (after one warm-up): 5 % is within the spread of a few
PROGRESS_RUNS = 5               # measured openings (after one warm-up)
PROGRESS_CHART_MAX_MS = 300


def progress_chart_ms(exe, env):
    run_env = dict(env, SERENITAP_BENCH_PROGRESS="1")
    proc = subprocess.run([exe], env=run_env, capture_output=True, text=True, timeout=60)
    stamps = dict(line.split() for line in proc.stderr.splitlines()
                  if line.startswith(("progress_open_ns ", "progress_chart_ns ")))
    if len(stamps) != 2:
        raise RuntimeError(f"{exe} printed no chart paint (exit {proc.returncode}):\n{proc.stderr}")
    return (int(stamps["progress_chart_ns"]) - int(stamps["progress_open_ns"])) / 1e6


def journal_figures(program, env, work, figure):
    filler = os.path.join(os.path.dirname(program), "journal_fill")
    plain = dict(env, XDG_DATA_HOME=os.path.join(work, "plain-data"),
                 XDG_CONFIG_HOME=os.path.join(work, "plain-config"))
    full = dict(env, XDG_DATA_HOME=os.path.join(work, "journal-data"),
                XDG_CONFIG_HOME=os.path.join(work, "journal-config"))
    log(f"journal: filling a journal of {JOURNAL_SESSIONS} sessions")
    subprocess.run([filler, str(JOURNAL_SESSIONS), "--keep"], env=full, check=True,
                   stdout=subprocess.DEVNULL, timeout=600)

    log(f"journal: {JOURNAL_STARTUP_RUNS} starts with and without it")
    times = {"plain": [], "full": []}
    for run in range(JOURNAL_STARTUP_RUNS + 1):
        for name in ("full", "plain") if run % 2 == 0 else ("plain", "full"):
            ms = first_paint_ms(program, full if name == "full" else plain)
            if run > 0:
                times[name].append(ms)
    startup_plain = statistics.median(times["plain"])
    startup_full = statistics.median(times["full"])
    limit = JOURNAL_STARTUP_FACTOR * startup_plain
    figure("no_journal_startup_ms", startup_plain, "-", fmt="{:.0f}")
    figure("journal_startup_ms", startup_full, f"<={limit:.0f}", startup_full <= limit, fmt="{:.0f}")

    log(f"journal: {PROGRESS_RUNS} openings of My Progress")
    chart = statistics.median([progress_chart_ms(program, full) for _ in range(PROGRESS_RUNS + 1)][1:])
    figure("progress_chart_ms", chart, f"<={PROGRESS_CHART_MAX_MS}", chart <= PROGRESS_CHART_MAX_MS,
           fmt="{:.0f}")

    log(f"journal: tapping, {TICK_S:.0f} s of ticks with the session recorded")
    tick_log = os.path.join(work, "journal-ticks.log")
    prog = subprocess.Popen([program], env=dict(full, SERENITAP_BENCH_TICK_LOG=tick_log),
                            stderr=subprocess.DEVNULL)
    try:
        window = wait_window(prog)
        time.sleep(SETTLE_S)
        start_tapping(window)
        first = read_ticks(tick_log)
        if first is None:
            raise RuntimeError("the step timer does not run after five Next keys (journal on)")
        time.sleep(TICK_S + 0.5)
        last = read_ticks(tick_log)
        if prog.poll() is not None:
            raise RuntimeError(f"the program exited with {prog.returncode} during the session (journal on)")
    finally:
        stop(prog)
    ticks = ticks_per_window(first, last)
    low, high = tick_bounds()
    figure("journal_ticks_per_60s", ticks, f"{low:.0f}..{high:.0f}", low <= ticks <= high, fmt="{:.0f}")


# --- My Progress on a long journal -------------------------------------------
# With a journal of LONG_JOURNAL_SESSIONS sessions (eight hours apart: 91 years):
#
#   progress_100k_ms            median time from the "My Progress" command to the
#                               first paint of its chart; judged on a quiet machine
#   progress_100k_cpu_ms        the CPU time the program spent meanwhile (every
#                               thread): what the time would be on an idle machine
#   progress_100k_added_mib     the most memory the opening added: VmHWM at the
#                               chart's paint minus VmRSS before the command
LONG_JOURNAL_SESSIONS = 100_000
LONG_PROGRESS_MAX_MS = 1000
LONG_PROGRESS_MAX_ADDED_MIB = 40


def progress_opening(exe, env):
    """(wall ms, CPU ms, added MiB) of one opening of My Progress."""
    run_env = dict(env, SERENITAP_BENCH_PROGRESS="1")
    proc = subprocess.run([exe], env=run_env, capture_output=True, text=True, timeout=120)
    stamps = dict(line.split() for line in proc.stderr.splitlines() if line.startswith("progress_"))
    if "progress_chart_ns" not in stamps or "progress_hwm_kib" not in stamps:
        raise RuntimeError(f"{exe} printed no chart paint (exit {proc.returncode}):\n{proc.stderr}")
    wall = (int(stamps["progress_chart_ns"]) - int(stamps["progress_open_ns"])) / 1e6
    added = (int(stamps["progress_hwm_kib"]) - int(stamps["progress_rss_before_kib"])) / 1024
    return wall, int(stamps["progress_cpu_ns"]) / 1e6, added


def long_journal_figures(program, env, work, figure, judged, target):
    filler = os.path.join(os.path.dirname(program), "journal_fill")
    long = dict(env, XDG_DATA_HOME=os.path.join(work, "long-data"),
                XDG_CONFIG_HOME=os.path.join(work, "long-config"))
    log(f"long journal: filling a journal of {LONG_JOURNAL_SESSIONS} sessions")
    subprocess.run([filler, str(LONG_JOURNAL_SESSIONS), "--keep"], env=long, check=True,
                   stdout=subprocess.DEVNULL, timeout=1800)
    log(f"long journal: {PROGRESS_RUNS} openings of My Progress")
    load = load_average()
    runs = [progress_opening(program, long) for _ in range(PROGRESS_RUNS + 1)][1:]
    load = max(load, load_average())
    wall = statistics.median(run[0] for run in runs)
    cpu = statistics.median(run[1] for run in runs)
    added = max(run[2] for run in runs)
    met = judged(wall <= LONG_PROGRESS_MAX_MS, load)
    figure("progress_100k_ms", wall, target(f"<={LONG_PROGRESS_MAX_MS}", met), met, fmt="{:.0f}")
    figure("progress_100k_cpu_ms", cpu, "-", fmt="{:.0f}")
    figure("progress_100k_added_mib", added, f"<={LONG_PROGRESS_MAX_ADDED_MIB}",
           added <= LONG_PROGRESS_MAX_ADDED_MIB, fmt="{:.1f}")
    figure("progress_100k_load_avg_1min", load, "-")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("baseline")
    parser.add_argument("text_window", nargs="?", help="the bare window with the first step's text")
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="serenitap-bench-")
    runtime = os.path.join(work, "runtime")
    os.mkdir(runtime, 0o700)
    env = {k: v for k, v in os.environ.items() if not k.startswith("SERENITAP_BENCH_")}
    # Own settings and runtime folders: nothing of the user's is read or written.
    env.update(HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_RUNTIME_DIR=runtime,
               QT_QPA_PLATFORM="xcb")
    results = []  # (name, value text, target text, met)

    def figure(name, value, target, met=True, fmt="{:.2f}"):
        results.append((name, fmt.format(value), target, met))
        print(f"{name} {fmt.format(value)} {target}", flush=True)

    busy = []  # the loads above MAX_LOAD seen before start-up or memory was measured

    def judged(met, load):
        """met, or None when the machine was too busy to judge."""
        if load > MAX_LOAD:
            busy.append(load)
            return None
        return met

    def target(text, met):
        return text if met is not None else "too-busy"

    load_before = wait_for_quiet()
    figure("load_avg_1min_start", load_before, "-")
    try:
        # 1. Startup, the two programs alternating; the first start of each warms the caches.
        log(f"startup: {STARTUP_RUNS} starts of each program")
        order = [args.program, args.baseline] + ([args.text_window] if args.text_window else [])
        times = {exe: [] for exe in order}
        for run in range(STARTUP_RUNS + 1):
            for exe in order if run % 2 == 0 else order[::-1]:
                ms = first_paint_ms(exe, env)
                if run > 0:
                    times[exe].append(ms)
        startup = statistics.median(times[args.program])
        startup_base = statistics.median(times[args.baseline])
        limit = STARTUP_FACTOR * startup_base
        met = judged(startup <= limit, load_before)
        figure("baseline_startup_ms", startup_base, "-", fmt="{:.0f}")
        figure("startup_ms", startup, target(f"<={limit:.0f}", met), met, fmt="{:.0f}")
        figure("startup_ratio", startup / startup_base, target(f"<={STARTUP_FACTOR}", met), met)
        if args.text_window:
            startup_text = statistics.median(times[args.text_window])
            figure("text_window_startup_ms", startup_text, "-", fmt="{:.0f}")
            figure("text_window_startup_ratio", startup_text / startup_base, "-")

        # 2. The baseline shown and idle: its peak memory (and idle CPU for comparison).
        load_memory = load_average()
        log("baseline: idle")
        base = subprocess.Popen([args.baseline], env=env, stderr=subprocess.DEVNULL)
        try:
            wait_window(base)
            time.sleep(SETTLE_S)
            base_idle = cpu_percent(base.pid, IDLE_S)
            base_hwm = vm_hwm_kib(base.pid) / 1024
        finally:
            stop(base)

        text_hwm = None
        if args.text_window:
            log("text window: idle")
            text = subprocess.Popen([args.text_window], env=env, stderr=subprocess.DEVNULL)
            try:
                wait_window(text)
                time.sleep(SETTLE_S)
                text_hwm = vm_hwm_kib(text.pid) / 1024
            finally:
                stop(text)

        # 3. The program: idle on the introduction, then a tapping session.
        tick_log = os.path.join(work, "ticks.log")
        log("program: idle on the introduction")
        prog = subprocess.Popen([args.program], env=dict(env, SERENITAP_BENCH_TICK_LOG=tick_log),
                                stderr=subprocess.DEVNULL)
        try:
            window = wait_window(prog)
            time.sleep(SETTLE_S)
            idle = cpu_percent(prog.pid, IDLE_S)

            start_tapping(window)
            first = read_ticks(tick_log)
            if first is None:
                raise RuntimeError("the step timer does not run after five Next keys")
            log(f"program: tapping, {TAPPING_CPU_S:.0f} s of CPU within {TICK_S:.0f} s of ticks")
            tick_start = time.monotonic()
            first = read_ticks(tick_log)
            tapping = cpu_percent(prog.pid, TAPPING_CPU_S)
            time.sleep(max(0.0, TICK_S - (time.monotonic() - tick_start)) + 0.5)
            last = read_ticks(tick_log)
            hwm = vm_hwm_kib(prog.pid) / 1024
            if prog.poll() is not None:
                raise RuntimeError(f"the program exited with {prog.returncode} during the session")
        finally:
            stop(prog)

        ticks = ticks_per_window(first, last)
        low, high = tick_bounds()

        met = judged(hwm <= base_hwm + MEMORY_MARGIN_MIB, load_memory)
        figure("baseline_peak_rss_mib", base_hwm, "-", fmt="{:.1f}")
        figure("peak_rss_mib", hwm, target(f"<={base_hwm + MEMORY_MARGIN_MIB:.1f}", met), met, fmt="{:.1f}")
        if text_hwm is not None:
            figure("text_window_peak_rss_mib", text_hwm, "-", fmt="{:.1f}")
        figure("cpu_tapping_pct", tapping, f"<={CPU_TAPPING_MAX}", tapping <= CPU_TAPPING_MAX)
        figure("cpu_idle_pct", idle, f"<={CPU_IDLE_MAX}", idle <= CPU_IDLE_MAX)
        figure("baseline_cpu_idle_pct", base_idle, "-")
        # The figures hold on an idle machine; a busy one delays the timer.
        figure("load_avg_1min", max(load_before, load_average()), "-")
        figure("ticks_per_60s", ticks, f"{low:.0f}..{high:.0f}", low <= ticks <= high, fmt="{:.0f}")

        journal_figures(args.program, env, work, figure)
        long_journal_figures(args.program, env, work, figure, judged, target)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    missed = [name for name, _, _, met in results if met is False]
    if busy:
        print(f"too busy to judge start-up, memory and the opening of My Progress: the 1-minute load was "
              f"{max(busy):.2f}, above {MAX_LOAD:.0f}; "
              "run bench/run again on a quiet machine", flush=True)
    if missed:
        log("missed: " + " ".join(missed))
        return 1
    return EXIT_TOO_BUSY if busy else 0


if __name__ == "__main__":
    sys.exit(main())
