#!/usr/bin/python3
"""Measures the tray program against the reference program under Wine, on two
paths to the card:

  seam  the test build on the virtual card through its simulator hook
        (ORVANE_VIRTUAL_CARD), the card in the program's own process;
  real  the Release build (no hook) on Wine's own stack: SetupAPI, CreateFileA
        and real IRPs to the virtual driver in winedevice.exe.

Per path one prefix and one wine server serve every measurement (made and
started once; scripts/bench prepares them). Each measurement starts a
subject, warms it up and samples CPU over a window: the subject's process,
its wine server and (real path) the driver's host process, each less its
idle use measured on that server before the subjects run, and for the shown
case the X server. Then, per path, what one refresh read costs, through the
library's open and straight on the driver's path found once through SetupAPI
(the difference is the SetupAPI enumeration every open repeats). Prints its
progress, a table and one "bench:" line per path, and writes
build/bench/report.md. Run through scripts/bench."""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
CLK_TCK = os.sysconf("SC_CLK_TCK")
WM_USER = 0x400
WM_LBUTTONDOWN = 0x201
TRAY_ID = 100
TRAY_CALLBACK = WM_USER + 100
TICKS_PER_MINUTE = 600  # the 100 ms refresh
DRIVER_FILE = "OrvaneVirtualDriver.sys"
GOALS = {"hidden": 1.1, "shown": 1.5}


class Subject:
    def __init__(self, name, exe, ready, files):
        self.name, self.exe, self.ready, self.files = name, exe, ready, files


def cpu_ticks(pid):
    """utime + stime of a process, in clock ticks (None when it is gone)."""
    if pid is None:
        return None
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except (OSError, IndexError, ValueError):
        return None


def environ_of(pid):
    try:
        with open(f"/proc/{pid}/environ", "rb") as f:
            return dict(item.split(b"=", 1) for item in f.read().split(b"\0") if b"=" in item)
    except OSError:
        return {}


def processes_in(prefix):
    """(pid, command line) of the Linux processes running in PREFIX."""
    want = prefix.encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                cmd = f.read().split(b"\0")[0]
        except OSError:
            continue
        if environ_of(entry).get(b"WINEPREFIX") == want:
            found.append((int(entry), cmd))
    return found


def unix_pid_of(exe_name, prefix):
    """The Linux process that runs EXE_NAME in PREFIX."""
    for pid, cmd in processes_in(prefix):
        if cmd.replace(b"\\", b"/").endswith(b"/" + exe_name.encode()):
            return pid
    return None


def driver_host_of(prefix):
    """The winedevice.exe process that has the virtual driver loaded."""
    for pid, cmd in processes_in(prefix):
        if not cmd.lower().endswith(b"winedevice.exe"):
            continue
        try:
            with open(f"/proc/{pid}/maps") as f:
                if DRIVER_FILE.lower() in f.read().lower():
                    return pid
        except OSError:
            pass
    return None


def fields_of(text, marker):
    """key=value pairs of the output line that holds MARKER."""
    for line in text.splitlines():
        if marker in line:
            return dict(kv.split("=", 1) for kv in line.split() if "=" in kv)
    raise RuntimeError(f"no '{marker}' in {text!r}")


class Path:
    """One way to the card: its prefix and wine server, its subjects."""

    def __init__(self, bench, name, prefix, bin_dir, card_env):
        self.bench, self.name, self.prefix, self.bin, self.card_env = bench, name, prefix, bin_dir, card_env
        self.server = None
        self.idle = {}

    def env(self):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        env.pop("ORVANE_VIRTUAL_CARD", None)
        env.update(self.card_env)
        return env

    def wine(self, *args, check=True):
        # Output through a file, not a pipe: programs and services that Wine
        # starts inherit the descriptors and would hold a pipe open.
        with open(os.path.join(self.bench.out, f"wine-output-{self.name}.txt"), "w+") as out:
            code = subprocess.run([WINE, *args], env=self.env(), stdout=out, stderr=subprocess.STDOUT,
                                  stdin=subprocess.DEVNULL).returncode
            out.seek(0)
            text = out.read()
        if check and code != 0:
            raise RuntimeError(f"{' '.join(args)}: exit {code}: {text}")
        return text

    def app(self, subject):
        """A copy of the subject with its DLLs and the probe (which then uses
        the same library), in a folder of its own."""
        folder = os.path.join(self.bench.out, f"app-{self.name}-{subject.name}")
        os.makedirs(folder, exist_ok=True)
        for name, source in subject.files:
            shutil.copy2(os.path.join(source, name), folder)
        shutil.copy2(os.path.join(self.bench.test_bin, "bench_probe.exe"), folder)
        return folder

    def start_server(self):
        self.server = subprocess.Popen([WINESERVER, "-f", "-p"], env=self.env(), stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        self.wine("wineboot", check=False)  # the prefix's services (and driver), before anything is timed
        time.sleep(2)
        self.idle = self.sample_idle()

    def stop_server(self):
        if self.server:
            subprocess.run([WINESERVER, "-k"], env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.server.wait()
            self.server = None

    def background(self):
        """The processes besides the subject whose CPU a tick costs."""
        return {"server": self.server.pid, "driver": driver_host_of(self.prefix) if self.name == "real" else None}

    def sample_idle(self):
        pids = self.background()
        before = {k: cpu_ticks(p) for k, p in pids.items()}
        time.sleep(self.bench.args.seconds)
        after = {k: cpu_ticks(p) for k, p in pids.items()}
        per_min = 60.0 / self.bench.args.seconds / CLK_TCK
        return {k: ((after[k] - before[k]) * per_min if before[k] is not None and after[k] is not None else 0.0)
                for k in pids}

    def measure(self, subject, folder, shown):
        probe = "Z:" + os.path.join(folder, "bench_probe.exe")
        exe = os.path.join(folder, subject.exe)
        args = ["--shown"] if shown and subject.ready == "reference" else []
        line = self.wine(probe, "start", subject.ready, "Z:" + exe, *args)
        fields = fields_of(line, "ready_ms=")
        winpid, ready_ms = fields["pid"], float(fields["ready_ms"])
        pid = unix_pid_of(os.path.basename(exe), self.prefix)
        if pid is None or ready_ms < 0:
            raise RuntimeError(f"{self.name} {subject.name}: {exe} did not become ready")
        try:
            if shown and subject.ready != "reference":
                text = self.wine(probe, "post", winpid, subject.ready, str(TRAY_CALLBACK), str(WM_LBUTTONDOWN))
                if fields_of(text, "visible=")["visible"] != "1":
                    raise RuntimeError(f"{subject.name}: the tray click did not show the panel")
            time.sleep(self.bench.args.warmup)
            pids = dict(self.background(), process=pid, x=self.bench.xvfb_pid)
            before = {k: cpu_ticks(p) for k, p in pids.items()}
            time.sleep(self.bench.args.seconds)
            after = {k: cpu_ticks(p) for k, p in pids.items()}
            memory = fields_of(self.wine(probe, "memory", winpid), "pagefile=")
        finally:
            self.wine(probe, "stop", winpid, check=False)
            time.sleep(0.5)
        per_min = 60.0 / self.bench.args.seconds / CLK_TCK

        def used(key):
            if before.get(key) is None or after.get(key) is None:
                return 0.0
            return (after[key] - before[key]) * per_min

        result = dict(process=used("process"), server=max(used("server") - self.idle.get("server", 0.0), 0.0),
                      driver=max(used("driver") - self.idle.get("driver", 0.0), 0.0),
                      x=used("x") if shown else 0.0, ready_ms=ready_ms,
                      pagefile=int(memory["pagefile"]), workingset=int(memory["workingset"]))
        result["sum"] = result["process"] + result["server"] + result["driver"] + result["x"]
        return result

    def read_cost(self, folder, reads):
        """CPU ms per refresh read (process, server, driver host) through the
        library's open, straight on the driver's path, and for nothing."""
        probe = "Z:" + os.path.join(folder, "bench_probe.exe")
        costs = {}
        for how in ("none", "open", "direct") if self.name == "real" else ("none", "open"):
            pids = self.background()
            before = {k: cpu_ticks(p) for k, p in pids.items()}
            text = self.wine(probe, "cost", how, str(reads if how != "none" else 0))
            after = {k: cpu_ticks(p) for k, p in pids.items()}
            fields = fields_of(text, "cpu_ms=")
            costs[how] = dict(process=float(fields["cpu_ms"]), reads=int(fields["reads"]),
                              **{k: ((after[k] - before[k]) * 1000.0 / CLK_TCK
                                     if before[k] is not None and after[k] is not None else 0.0) for k in pids})
        per_read = {}
        for how in costs:
            if how == "none":
                continue
            c, base = costs[how], costs["none"]
            n = max(c["reads"], 1)
            per_read[how] = {k: max(c[k] - (base[k] if k != "process" else 0.0), 0.0) / n
                             for k in ("process", "server", "driver")}
            per_read[how]["reads"] = c["reads"]
        return per_read


class Bench:
    def __init__(self, args):
        self.args = args
        self.root = args.root
        self.out = os.path.join(self.root, "build", "bench")
        self.test_bin = os.path.join(self.root, "build", "win64", "bin")
        self.ship_bin = os.path.join(self.root, "build", "release-win64", "bin")
        self.xvfb_pid = args.xvfb_pid
        self.began = time.monotonic()

    def say(self, text):
        elapsed = time.monotonic() - self.began
        print(f"[{int(elapsed // 60):2d}:{int(elapsed % 60):02d}] {text}", flush=True)


def median_range(values):
    if not values:
        return None
    return statistics.median(values), min(values), max(values)


def fmt(stat, digits=2):
    if stat is None:
        return "—"
    m, lo, hi = stat
    return f"{m:.{digits}f} ({lo:.{digits}f}–{hi:.{digits}f})"


def ratio(a, b):
    if a is None or b is None or b[0] == 0:
        return None
    return a[0] / b[0]


def per_tick(stat):
    """CPU seconds per minute as milliseconds per refresh tick."""
    if stat is None:
        return None
    return tuple(v * 1000.0 / TICKS_PER_MINUTE for v in stat)


def main():
    # Ended from outside: still stop the wine servers.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--paths", default="seam,real", help="seam, real or both (comma-separated)")
    parser.add_argument("--seam-prefix", required=True)
    parser.add_argument("--real-prefix", required=True)
    parser.add_argument("--seam-card", required=True, help="the virtual card's state file, a Windows path")
    parser.add_argument("--xvfb-pid", type=int, required=True)
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--seconds", type=float, default=20.0, help="length of each CPU window")
    parser.add_argument("--warmup", type=float, default=5.0)
    parser.add_argument("--reads", type=int, default=1000, help="refresh reads of each read-cost measurement")
    parser.add_argument("--soak", type=int, default=0, help="refresh ticks of the soak on the seam path (0: none)")
    parser.add_argument("--openings", type=int, default=1000,
                        help="effects and about openings and link clicks after the soak (0: none)")
    args = parser.parse_args()
    bench = Bench(args)
    os.makedirs(bench.out, exist_ok=True)

    test, ship = bench.test_bin, bench.ship_bin
    paths = []
    for name in args.paths.split(","):
        if name == "seam":
            path = Path(bench, "seam", args.seam_prefix, test, {"ORVANE_VIRTUAL_CARD": args.seam_card})
            subjects = [Subject("program", "Orvane Sound.exe", f"tray:{TRAY_ID}",
                                [(f, test) for f in ("Orvane Sound.exe", "CorrantApi.dll", "OrvaneVirtualCard.dll",
                                                     "ST.WAV")]),
                        Subject("reference", "bench_reference.exe", "reference",
                                [(f, test) for f in ("bench_reference.exe", "CorrantApi.dll",
                                                     "OrvaneVirtualCard.dll")])]
        elif name == "real":
            path = Path(bench, "real", args.real_prefix, ship, {})
            subjects = [Subject("program", "Orvane Sound.exe", f"tray:{TRAY_ID}",
                                [(f, ship) for f in ("Orvane Sound.exe", "CorrantApi.dll", "ST.WAV")]),
                        Subject("reference", "bench_reference.exe", "reference",
                                [("bench_reference.exe", test), ("CorrantApi.dll", ship)])]
        else:
            parser.error(f"no path {name}")
        paths.append((path, subjects))

    results = {}
    costs = {}
    soak_text = ""
    for path, subjects in paths:
        bench.say(f"{path.name} path: starting its wine server, then {args.seconds:g} s of its idle use")
        folders = {s.name: path.app(s) for s in subjects}
        path.start_server()
        try:
            bench.say(f"{path.name} path: idle wine server {path.idle.get('server', 0):.3f} s/min"
                      + (f", driver host {path.idle.get('driver', 0):.3f} s/min" if path.name == "real" else ""))
            for round_no in range(1, args.rounds + 1):
                for s in subjects:
                    for case in ("hidden", "shown"):
                        r = path.measure(s, folders[s.name], case == "shown")
                        results.setdefault((path.name, s.name, case), []).append(r)
                        bench.say(f"{path.name} round {round_no}/{args.rounds} {s.name:9} {case:6}: "
                                  f"{r['sum'] * 1000 / TICKS_PER_MINUTE:.3f} ms/tick (process "
                                  f"{r['process']:.3f}, server {r['server']:.3f}, driver {r['driver']:.3f}, "
                                  f"X {r['x']:.3f} s/min), ready {r['ready_ms']:.0f} ms")
            bench.say(f"{path.name} path: what one refresh read costs ({args.reads} reads each way)")
            costs[path.name] = path.read_cost(folders["reference"], args.reads)
            if path.name == "seam" and args.soak > 0:
                bench.say(f"seam path: soak of {args.soak} ticks")
                soak_text = soak(bench, path, subjects[0], folders["program"], args.soak,
                                 max(args.soak // 100, 1), args.openings)
        finally:
            path.stop_server()

    lines = []
    summaries = []
    for path, _ in paths:
        lines += [f"### {path.name} path", "",
                  "| Per refresh tick, ms CPU (median, range) | Orvane Sound | reference | ratio |",
                  "|---|---|---|---|"]
        figures = {}
        for case in ("hidden", "shown"):
            keys = [("process", "process"), ("server", "its wine server (less idle)")]
            if path.name == "real":
                keys.append(("driver", "driver host winedevice.exe (less idle)"))
            if case == "shown":
                keys.append(("x", "X server"))
            keys.append(("sum", "sum"))
            for key, label in keys:
                p = per_tick(median_range([r[key] for r in results.get((path.name, "program", case), [])]))
                r = per_tick(median_range([r[key] for r in results.get((path.name, "reference", case), [])]))
                q = ratio(p, r)
                lines.append(f"| {case}: {label} | {fmt(p, 3)} | {fmt(r, 3)} | {'—' if q is None else f'{q:.2f}×'} |")
                if key == "sum":
                    figures[case] = q

        def both(subject, key, scale=1.0):
            return median_range([r[key] * scale for case in ("hidden", "shown")
                                 for r in results.get((path.name, subject, case), [])])
        p, r = both("program", "ready_ms"), both("reference", "ready_ms")
        lines.append(f"| start to tray icon / first tick, ms | {fmt(p, 0)} | {fmt(r, 0)} | "
                     f"{'—' if ratio(p, r) is None else f'{ratio(p, r):.2f}×'} |")
        mb = 1.0 / 2 ** 20
        for key, label in (("pagefile", "PagefileUsage, MB"), ("workingset", "working set, MB")):
            p, r = both("program", key, mb), both("reference", key, mb)
            lines.append(f"| {label} | {fmt(p, 1)} | {fmt(r, 1)} | "
                         f"{'—' if ratio(p, r) is None else f'{ratio(p, r):.2f}×'} |")
        lines.append("")
        c = costs.get(path.name, {})
        if c:
            lines.append("| One refresh read (open, status, close), ms CPU | process | wine server | driver host | sum |")
            lines.append("|---|---|---|---|---|")
            for how, label in (("open", "through the library (SetupAPI enumeration, open, request, close)"),
                               ("direct", "straight on the driver's path (open, request, close)")):
                if how in c:
                    v = c[how]
                    lines.append(f"| {label} | {v['process']:.3f} | {v['server']:.3f} | {v['driver']:.3f} | "
                                 f"{v['process'] + v['server'] + v['driver']:.3f} |")
            if "direct" in c:
                total = sum(c["open"][k] for k in ("process", "server", "driver"))
                direct = sum(c["direct"][k] for k in ("process", "server", "driver"))
                share = (total - direct) / total if total > 0 else 0.0
                lines.append(f"| the SetupAPI enumeration's share of a read | | | | {share * 100:.0f} % |")
            lines.append("")

        def x(v):
            return "n/a" if v is None else f"{v:.2f}×"
        verdict = ", ".join(f"{case} {x(figures.get(case))} (goal ≤ {GOALS[case]}×"
                            + (", met" if figures.get(case) is not None and figures[case] <= GOALS[case]
                               else ", MISSED" if figures.get(case) is not None else "") + ")"
                            for case in ("hidden", "shown"))
        summaries.append(f"bench {path.name}: {verdict}")

    table = "\n".join(lines)
    print(table)
    for line in summaries:
        print(line)
    if soak_text:
        print(soak_text)
    with open(os.path.join(bench.out, "report.md"), "w") as f:
        f.write("# Benchmark: Orvane Sound against the reference program\n\n")
        f.write(f"{args.rounds} rounds per path, CPU windows of {args.seconds:g} s after {args.warmup:g} s of "
                "warm-up, under Wine with the X11 driver on a private Xvfb. The seam path runs the test build on "
                "the virtual card in-process; the real path runs the Release build (no simulator hook) through "
                "Wine's SetupAPI and I/O manager to the virtual driver. CPU counts the subject's process, its "
                "wine server and the driver's host process, each less its idle use on that server, and for the "
                "shown case the X server; per tick is per 100 ms refresh. The reference opens, reads the status "
                "and closes once per tick; hidden it touches no window, shown it sets twelve bars and the rate "
                "text when it changes.\n\n")
        f.write(table + "\n\n" + "\n".join(summaries) + "\n\n" + soak_text)
    bench.say("done: build/bench/report.md")
    return 0


def soak(bench, path, subject, folder, ticks, every, openings):
    """Sends TICKS refresh ticks to the hidden program as fast as it takes
    them, then opens the effects and about panels and clicks a link OPENINGS
    times each with the panel shown; returns the report's text."""
    probe = "Z:" + os.path.join(folder, "bench_probe.exe")
    exe = os.path.join(folder, subject.exe)
    winpid = fields_of(path.wine(probe, "start", subject.ready, "Z:" + exe), "ready_ms=")["pid"]
    pid = unix_pid_of(os.path.basename(exe), path.prefix)
    time.sleep(bench.args.warmup)
    log = os.path.join(bench.out, "soak-probe.txt")
    samples = []
    with open(log, "w") as out:
        driver = subprocess.Popen([WINE, probe, "soak", winpid, subject.ready, str(ticks), str(every)],
                                  env=path.env(), stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        start = (cpu_ticks(pid) or 0) + (cpu_ticks(path.server.pid) or 0)
        seen = 0
        while True:
            finished = driver.poll() is not None
            with open(log) as f:
                lines = [l for l in f.read().splitlines() if l.startswith("tick=")]
            used = ((cpu_ticks(pid) or 0) + (cpu_ticks(path.server.pid) or 0) - start) / CLK_TCK
            for line in lines[seen:]:
                samples.append(dict(fields_of(line, "tick="), cpu=used))
                if len(samples) % 10 == 0:
                    bench.say(f"soak: {samples[-1]['tick']} ticks")
            seen = len(lines)
            if finished:
                break
            time.sleep(0.2)
    opened = {}
    if openings > 0:
        shown = path.wine(probe, "post", winpid, subject.ready, str(TRAY_CALLBACK), str(WM_LBUTTONDOWN))
        if fields_of(shown, "visible=")["visible"] == "1":
            time.sleep(1)
            text = path.wine(probe, "openings", winpid, subject.ready, str(openings), check=False)
            for line in text.splitlines():
                if line.startswith(("before ", "after ")):
                    opened[line.split()[0]] = dict(kv.split("=", 1) for kv in line.split()[1:] if "=" in kv)
    path.wine(probe, "stop", winpid, check=False)
    if not samples:
        return "Soak: no samples.\n"
    first, last = samples[0], samples[-1]
    warm = samples[min(len(samples) - 1, max(len(samples) // 10, 1))]
    seconds = float(last["ms"]) / 1000
    text = (f"Soak: {last['tick']} ticks sent as fast as the program took them, in {seconds:.0f} s, "
            f"{last['cpu'] * 1000 / max(int(last['tick']), 1):.2f} ms CPU per tick (process and its wine server).\n"
            f"Working set {int(warm['workingset']) / 2**20:.1f} MB after {warm['tick']} ticks, "
            f"{int(last['workingset']) / 2**20:.1f} MB at the end.\n"
            f"Live counts at the start / after the warm-up / at the end: {first['counts']} / {warm['counts']} / "
            f"{last['counts']}" + (" (flat)" if warm["counts"] == last["counts"] else " (GREW after the warm-up)")
            + "\n")
    if opened.get("before") and opened.get("after"):
        before, after = opened["before"]["counts"], opened["after"]["counts"]
        text += (f"Then {openings} openings of the effects and the about panel and {openings} link clicks: "
                 f"counts {before} → {after} " + ("(flat)" if before == after else "(CHANGED)")
                 + f", {opened['after'].get('failures', '?')} failed steps.\n")
    return text


if __name__ == "__main__":
    sys.exit(main())
