#!/usr/bin/python3
"""Measures the tray program against the reference program under Wine on the
virtual card: CPU per minute hidden and shown (the program's process, its own
wine server less that server's idle use, and for the shown case the X
server), the time from start to ready (tray icon / first tick) and the
memory counters after a warm-up. Subjects alternate, each in a prefix and
wine server of its own. Run through scripts/bench."""
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


class Subject:
    def __init__(self, name, exe, ready, files):
        self.name, self.exe, self.ready, self.files = name, exe, ready, files


def cpu_ticks(pid):
    """utime + stime of a process, in clock ticks (None when it is gone)."""
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


def unix_pid_of(exe_name, prefix):
    """The Linux process that runs EXE_NAME in PREFIX."""
    want = prefix.encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                cmd = f.read().split(b"\0")[0]
        except OSError:
            continue
        if cmd.replace(b"\\", b"/").endswith(b"/" + exe_name.encode()) and environ_of(entry).get(b"WINEPREFIX") == want:
            return int(entry)
    return None


class Bench:
    def __init__(self, args):
        self.args = args
        self.root = args.root
        self.out = os.path.join(self.root, "build", "bench")
        self.bin = os.path.join(self.root, "build", "win64", "bin")
        self.display = None
        self.xvfb = None

    # ---- the private X server and the prefixes -------------------------------
    def start_x(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                     pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            self.display = ":" + f.readline().strip()

    def stop_x(self):
        if self.xvfb:
            self.xvfb.send_signal(signal.SIGTERM)
            self.xvfb.wait()

    def env(self, subject):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.prefix(subject), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                   DISPLAY=self.display, ORVANE_VIRTUAL_CARD="Z:" + os.path.join(self.out, f"card-{subject.name}.ini"))
        return env

    def prefix(self, subject):
        return os.path.join(self.out, f"prefix-{subject.name}")

    def wine(self, subject, *args, check=True):
        # Output through a file, not a pipe: programs and services that Wine
        # starts inherit the descriptors and would hold a pipe open.
        with open(os.path.join(self.out, "wine-output.txt"), "w+") as out:
            code = subprocess.run([WINE, *args], env=self.env(subject), stdout=out, stderr=subprocess.STDOUT,
                                  stdin=subprocess.DEVNULL).returncode
            out.seek(0)
            text = out.read()
        if check and code != 0:
            raise RuntimeError(f"{' '.join(args)}: exit {code}: {text}")
        return text

    def prepare(self, subject):
        """A copy of the program with its DLLs, and a prefix with the X11
        driver and no audio driver (created once)."""
        app = os.path.join(self.out, f"app-{subject.name}")
        os.makedirs(app, exist_ok=True)
        for name in subject.files:
            shutil.copy2(os.path.join(self.bin, name), app)
        prefix = self.prefix(subject)
        if not os.path.exists(os.path.join(prefix, ".orvane-bench-ready-2")):
            print(f"   creating the Wine prefix {prefix} (once)", flush=True)
            os.makedirs(prefix, exist_ok=True)
            self.wine(subject, "wineboot", "-i", check=False)
            self.wine(subject, "reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Audio", "/d", "", "/f")
            # No window manager under Xvfb: unmanaged windows close at once
            # instead of waiting two seconds for one.
            self.wine(subject, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f")
            subprocess.run([WINESERVER, "-k"], env=self.env(subject), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run([WINESERVER, "-w"], env=self.env(subject), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            open(os.path.join(prefix, ".orvane-bench-ready-2"), "w").close()
        return os.path.join(app, subject.exe)

    # ---- one measurement ----------------------------------------------------
    def measure(self, subject, exe, shown):
        env = self.env(subject)
        server = subprocess.Popen([WINESERVER, "-f", "-p"], env=env, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(0.5)
            self.wine(subject, "wineboot", check=False)  # the prefix's services, before anything is timed
            probe = "Z:" + os.path.join(self.bin, "bench_probe.exe")
            args = ["--shown"] if shown and subject.ready == "reference" else []
            line = self.wine(subject, probe, "start", subject.ready, "Z:" + exe, *args)
            fields = fields_of(line, "ready_ms=")
            winpid, ready_ms = fields["pid"], float(fields["ready_ms"])
            pid = unix_pid_of(os.path.basename(exe), self.prefix(subject))
            if pid is None:
                raise RuntimeError(f"{exe} is not running")
            if shown and subject.ready != "reference":
                shown_text = self.wine(subject, probe, "post", winpid, subject.ready, str(TRAY_CALLBACK),
                                       str(WM_LBUTTONDOWN))
                if fields_of(shown_text, "visible=")["visible"] != "1":
                    raise RuntimeError(f"{subject.name}: the tray click did not show the panel")
            time.sleep(self.args.warmup)
            changed = None
            if shown:
                grab = fields_of(self.wine(subject, probe, "changes", winpid, subject.ready), "changed=")
                changed = int(grab["changed"])

            def sample():
                return cpu_ticks(pid), cpu_ticks(server.pid), cpu_ticks(self.xvfb.pid)
            before = sample()
            time.sleep(self.args.seconds)
            after = sample()
            memory = fields_of(self.wine(subject, probe, "memory", winpid), "pagefile=")
            self.wine(subject, probe, "stop", winpid, check=False)
            time.sleep(1)
            idle_before = sample()
            time.sleep(self.args.seconds)
            idle_after = sample()
        finally:
            subprocess.run([WINESERVER, "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            server.wait()
        per_min = 60.0 / self.args.seconds / CLK_TCK
        program = (after[0] - before[0]) * per_min
        server_busy = (after[1] - before[1]) * per_min
        server_idle = (idle_after[1] - idle_before[1]) * per_min
        x_busy = (after[2] - before[2]) * per_min
        x_idle = (idle_after[2] - idle_before[2]) * per_min
        result = dict(program=program, server=max(server_busy - server_idle, 0.0), server_idle=server_idle,
                      x=max(x_busy - x_idle, 0.0) if shown else 0.0, ready_ms=ready_ms,
                      pagefile=int(memory["pagefile"]), workingset=int(memory["workingset"]), changed=changed)
        result["sum"] = result["program"] + result["server"] + result["x"]
        return result


def fields_of(text, marker):
    """key=value pairs of the output line that holds MARKER."""
    for line in text.splitlines():
        if marker in line:
            return dict(kv.split("=", 1) for kv in line.split() if "=" in kv)
    raise RuntimeError(f"no '{marker}' in {text!r}")


def soak(bench, subject, exe, ticks, every, openings):
    """Sends TICKS refresh ticks to the hidden program as fast as it takes
    them; returns the probe's lines with the CPU seconds (process + own wine
    server) used up to each. Then shows the panel and opens the effects and
    about panels and clicks a link OPENINGS times each; returns the probe's
    counts before and after those as a second value."""
    env = bench.env(subject)
    server = subprocess.Popen([WINESERVER, "-f", "-p"], env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    samples = []
    try:
        time.sleep(0.5)
        bench.wine(subject, "wineboot", check=False)
        probe = "Z:" + os.path.join(bench.bin, "bench_probe.exe")
        winpid = fields_of(bench.wine(subject, probe, "start", subject.ready, "Z:" + exe), "ready_ms=")["pid"]
        pid = unix_pid_of(os.path.basename(exe), bench.prefix(subject))
        time.sleep(bench.args.warmup)
        log = os.path.join(bench.out, "soak-probe.txt")
        with open(log, "w") as out:
            driver = subprocess.Popen([WINE, probe, "soak", winpid, subject.ready, str(ticks), str(every)], env=env,
                                      stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
            seen = 0
            start = (cpu_ticks(pid) or 0) + (cpu_ticks(server.pid) or 0)
            while True:
                finished = driver.poll() is not None
                with open(log) as f:
                    lines = [l for l in f.read().splitlines() if l.startswith("tick=")]
                used = ((cpu_ticks(pid) or 0) + (cpu_ticks(server.pid) or 0) - start) / CLK_TCK
                for line in lines[seen:]:
                    samples.append(dict(fields_of(line, "tick="), cpu=used))
                seen = len(lines)
                if finished:
                    break
                time.sleep(0.2)
        opened = {}
        if openings > 0:
            shown = bench.wine(subject, probe, "post", winpid, subject.ready, str(TRAY_CALLBACK), str(WM_LBUTTONDOWN))
            if fields_of(shown, "visible=")["visible"] == "1":
                time.sleep(1)
                text = bench.wine(subject, probe, "openings", winpid, subject.ready, str(openings), check=False)
                for line in text.splitlines():
                    if line.startswith(("before ", "after ")):
                        opened[line.split()[0]] = dict(kv.split("=", 1) for kv in line.split()[1:] if "=" in kv)
        bench.wine(subject, probe, "stop", winpid, check=False)
    finally:
        subprocess.run([WINESERVER, "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        server.wait()
    return samples, opened


def plot_soak(samples, path):
    try:
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
    except ImportError:
        return False
    ticks = [int(s["tick"]) for s in samples]
    cpu = [s["cpu"] for s in samples]
    per = [0.0] + [(cpu[i] - cpu[i - 1]) / max(ticks[i] - ticks[i - 1], 1) * 1000 for i in range(1, len(ticks))]
    ws = [int(s["workingset"]) / 2**20 for s in samples]
    fig, left = plt.subplots(figsize=(8, 4))
    left.plot(ticks[1:], per[1:], color="tab:blue")
    left.set_xlabel("refresh ticks")
    left.set_ylabel("CPU ms per tick (process + wine server)", color="tab:blue")
    right = left.twinx()
    right.plot(ticks, ws, color="tab:red")
    right.set_ylabel("working set, MB", color="tab:red")
    fig.tight_layout()
    fig.savefig(path, dpi=100)
    return True


def median_range(values):
    if not values:
        return None
    return statistics.median(values), min(values), max(values)


def fmt(stat, unit="", digits=2):
    if stat is None:
        return "—"
    m, lo, hi = stat
    return f"{m:.{digits}f}{unit} ({lo:.{digits}f}–{hi:.{digits}f})"


def ratio(a, b):
    if a is None or b is None or b[0] == 0:
        return None
    return a[0] / b[0]


def main():
    # Ended from outside: still stop the X server and the wine servers.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=60.0, help="length of each CPU window")
    parser.add_argument("--warmup", type=float, default=10.0)
    parser.add_argument("--soak", type=int, default=100000, help="refresh ticks of the soak (0: none)")
    parser.add_argument("--openings", type=int, default=1000,
                        help="effects and about openings and link clicks after the soak (0: none)")
    args = parser.parse_args()
    bench = Bench(args)
    os.makedirs(bench.out, exist_ok=True)

    reference = Subject("reference", "bench_reference.exe", "reference",
                        ["bench_reference.exe", "CorrantApi.dll", "OrvaneVirtualCard.dll"])
    program = Subject("program", "Orvane Sound.exe", f"tray:{TRAY_ID}",
                      ["Orvane Sound.exe", "CorrantApi.dll", "OrvaneVirtualCard.dll", "ST.WAV"])
    subjects = [reference]
    if os.path.exists(os.path.join(bench.bin, program.exe)):
        subjects.insert(0, program)
    else:
        print("   (no Orvane Sound.exe in build/win64/bin: measuring the reference alone)")

    results = {s.name: {"hidden": [], "shown": []} for s in (program, reference)}
    bench.start_x()
    try:
        exes = {s.name: bench.prepare(s) for s in subjects}
        for round_no in range(1, args.rounds + 1):
            for s in subjects:
                for case in ("hidden", "shown"):
                    r = bench.measure(s, exes[s.name], case == "shown")
                    results[s.name][case].append(r)
                    print(f"   round {round_no} {s.name:9} {case:6}: cpu {r['sum']:.3f} s/min "
                          f"(process {r['program']:.3f}, server {r['server']:.3f} of idle {r['server_idle']:.3f}, "
                          f"X {r['x']:.3f}), ready {r['ready_ms']:.0f} ms, pagefile {r['pagefile'] / 2**20:.1f} MB, "
                          f"working set {r['workingset'] / 2**20:.1f} MB"
                          + (f", {r['changed']} pixels moving" if r["changed"] is not None else ""), flush=True)
        soak_samples, opened = [], {}
        if program in subjects and args.soak > 0:
            soak_samples, opened = soak(bench, program, exes["program"], args.soak, max(args.soak // 100, 1),
                                        args.openings)
    finally:
        bench.stop_x()

    def stat(name, case, key, scale=1.0):
        return median_range([r[key] * scale for r in results[name][case]])

    def both(name, key, scale=1.0):
        return median_range([r[key] * scale for case in ("hidden", "shown") for r in results[name][case]])

    rows = []
    figures = {}
    for case in ("hidden", "shown"):
        for key, label in (("program", "process"), ("server", "own wine server (less idle)")) + \
                          ((("x", "X server"),) if case == "shown" else ()) + (("sum", "sum"),):
            p, r = stat("program", case, key), stat("reference", case, key)
            rows.append((f"CPU s/min {case}: {label}", fmt(p, digits=3), fmt(r, digits=3), ratio(p, r)))
            if key == "sum":
                figures[case] = ratio(p, r)
    p, r = both("program", "ready_ms"), both("reference", "ready_ms")
    rows.append(("start to tray icon / first tick, ms", fmt(p, digits=0), fmt(r, digits=0), ratio(p, r)))
    figures["start"] = ratio(p, r)
    mb = 1.0 / 2**20
    memory_above = {}
    for key, label in (("pagefile", "PagefileUsage, MB"), ("workingset", "working set, MB")):
        p, r = both("program", key, mb), both("reference", key, mb)
        rows.append((label, fmt(p, digits=1), fmt(r, digits=1), ratio(p, r)))
        memory_above[key] = None if p is None else p[0] - r[0]

    lines = ["| Figure (median, range) | Orvane Sound | reference | ratio |", "|---|---|---|---|"]
    for label, p, r, q in rows:
        lines.append(f"| {label} | {p} | {r} | {'—' if q is None else f'{q:.2f}×'} |")

    def x(v):
        return "n/a" if v is None else f"{v:.2f}×"
    mem = memory_above["pagefile"]
    summary = (f"bench: hidden {x(figures['hidden'])}, shown {x(figures['shown'])}, start {x(figures['start'])}, "
               f"memory {'n/a' if mem is None else f'{mem:+.1f} MB'}")
    table = "\n".join(lines)
    print(table)
    print(summary)
    soak_text = ""
    if soak_samples:
        first, last = soak_samples[0], soak_samples[-1]
        warm = soak_samples[min(len(soak_samples) - 1, max(len(soak_samples) // 10, 1))]
        seconds = float(last["ms"]) / 1000
        soak_text = (f"Soak: {last['tick']} ticks sent as fast as the program took them, in {seconds:.0f} s "
                     f"({int(last['tick']) / max(seconds, 0.001):.0f} ticks/s), "
                     f"{last['cpu'] * 1000 / max(int(last['tick']), 1):.2f} ms CPU per tick (process and its wine server).\n"
                     f"Working set {int(warm['workingset']) / 2**20:.1f} MB after {warm['tick']} ticks, "
                     f"{int(last['workingset']) / 2**20:.1f} MB at the end; PagefileUsage "
                     f"{int(warm['pagefile']) / 2**20:.1f} → {int(last['pagefile']) / 2**20:.1f} MB.\n"
                     f"Live counts at the start / after the warm-up / at the end: {first['counts']} / "
                     f"{warm['counts']} / {last['counts']}"
                     + (" (the program did not answer the live-counts message)" if last["counts"] == "none"
                        else " (flat)" if warm["counts"] == last["counts"] else " (GREW after the warm-up)")
                     + "\n")
        if opened.get("before") and opened.get("after"):
            before, after = opened["before"]["counts"], opened["after"]["counts"]
            soak_text += (f"Then {args.openings} openings of the effects and the about panel and {args.openings} "
                          f"link clicks (panel shown): counts {before} → {after} "
                          + ("(flat)" if before == after else "(CHANGED)")
                          + f", {opened['after'].get('failures', '?')} failed steps.\n")
        elif args.openings > 0:
            soak_text += "The openings after the soak did not run (the panel did not show).\n"
        if plot_soak(soak_samples, os.path.join(bench.out, "soak.png")):
            soak_text += "\n![CPU and working set over the soak](soak.png)\n"
        print(soak_text)
    with open(os.path.join(bench.out, "report.md"), "w") as f:
        f.write("# Benchmark: Orvane Sound against the reference program\n\n")
        f.write(f"{args.rounds} rounds, CPU windows of {args.seconds:g} s after {args.warmup:g} s of warm-up, "
                "under Wine on the virtual card (X11 driver, private Xvfb). CPU counts the program's process "
                "and its own wine server less that server's idle use measured in the same round; the shown "
                "case adds the X server. Memory: GetProcessMemoryInfo's PagefileUsage and WorkingSetSize "
                "after the warm-up.\n\n")
        f.write(table + "\n\n" + summary + "\n\n" + soak_text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
