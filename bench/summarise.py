#!/usr/bin/env python3
"""Prints the benchmark tables from the lines bench_driver.exe and run.sh wrote.

    sample <measure> <build> <program> <value>
    info <key> <value...>

First the shipped file's table (the i686 ZORIZA.exe beside the floors built
with the i686 toolchain, judged against the targets), then the x86_64 build's
beside its own floors, then the i686 file over the x86_64 one.

Each figure is the median of its samples, with the middle half of them
(first to third quartile) in brackets; a ratio is one median over another.
"Paired" is the median of the ratios run by run: the programs of both builds
take turns, so the n-th sample of each comes from the same round, and a load
that comes and goes on a shared machine cancels out of it.
"""
import statistics
import sys
from collections import defaultdict

KIB = 1024
MIB = 1024 * 1024
LINEAR_TOLERANCE = 0.10
SHIPPED = "i686"
OTHER = "x86_64"
# Servers that stop answering: the program waits for them at most its bound;
# the scan asks every drive at once.
BOUND_MS = 3000
SCAN_DRIVES = (1, 8, 24)


def read(path):
    samples = defaultdict(list)
    info = {}
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            parts = line.strip().split(" ")
            if parts[0] == "sample" and len(parts) == 5:
                samples[(parts[1], parts[2], parts[3])].append(float(parts[4]))
            elif parts[0] == "info" and len(parts) >= 2:
                info[parts[1]] = line.strip().split(" ", 2)[2] if len(parts) > 2 else ""
    return samples, info


def median(values):
    return statistics.median(values) if values else None


def spread(values, scale, digits):
    if not values:
        return "n/a"
    text = f"{median(values) / scale:.{digits}f}"
    if len(values) >= 2:
        q1, _, q3 = statistics.quantiles(values, n=4, method="inclusive")
        text += f" ({q1 / scale:.{digits}f}–{q3 / scale:.{digits}f})"
    return text


def ratio(a, b):
    return a / b if a is not None and b else None


def paired(a, b):
    pairs = [x / y for x, y in zip(a, b) if y]
    return median(pairs) if len(a) == len(b) and pairs else None


def met(value, limit):
    if value is None:
        return "n/a"
    return "yes" if value <= limit else "**no**"


def fmt_ratio(value):
    return "n/a" if value is None else f"{value:.2f}"


def plural(drives):
    return f"{drives} mapped drive{'s' if drives > 1 else ''}"


class Table:
    """The rows of one build against its floors. Only the shipped file's
    table is judged against the targets; the other's ratios are for
    comparison."""

    def __init__(self, samples, info, build, judged):
        self.samples, self.info, self.build, self.judged = samples, info, build, judged
        self.rows = []

    def s(self, measure, program):
        return self.samples.get((measure, self.build, program), [])

    def row(self, measure, zoriza, floor, r, target, ok, pair="—"):
        cells = [measure, zoriza, floor, r, pair]
        if self.judged:
            cells += [target, ok]
        self.rows.append("| " + " | ".join(cells) + " |")

    def compare(self, label, measure, program, floor, scale, digits, target=None):
        z, f = self.s(measure, program), self.s(measure, floor)
        r = ratio(median(z), median(f))
        self.row(label, spread(z, scale, digits), spread(f, scale, digits), fmt_ratio(r),
                 f"≤ {target}" if target else "(for reference)", met(r, target) if target else "—",
                 fmt_ratio(paired(z, f)) if paired(z, f) is not None else "—")
        return r

    def reference(self, label, values, scale, digits):
        self.row(label, "—", spread(values, scale, digits), "—", "(for reference)", "—")

    def print(self, title):
        print(title)
        print()
        if self.judged:
            print("| Measure | ZORIZA.exe | Floor | Ratio | Paired | Target | Met |")
            print("|---|---|---|---|---|---|---|")
        else:
            print("| Measure | ZORIZA.exe | Floor | Ratio | Paired |")
            print("|---|---|---|---|---|")
        for line in self.rows:
            print(line)
        print()


def size_rows(t):
    key = "shipped" if t.build == SHIPPED else t.build
    size = int(t.info.get(f"{key}_bytes", "0"))
    what = "the shipped i686" if t.build == SHIPPED else f"the {t.build}"
    t.row(f"Size of {what} `{t.info.get(f'{key}_path', 'ZORIZA.exe')}`", f"{size:,} B = {size / KIB:.1f} KiB",
          "—", "—", "≤ 300 KiB", met(size / KIB, 300))
    t.row("DLLs it imports", t.info.get(f"{key}_imports", "n/a"), "—", "—", "—", "—")


def start_up_rows(t):
    t.compare("Start-up to idle, ms (floor: one empty window)", "startup_ms", "zoriza", "floor", 1, 1, 1.15)
    dlls = "floor + ZORIZA.exe's DLLs and manifest"
    controls = "floor + DLLs, manifest and 13 like controls"
    t.compare(f"· start-up, {dlls}", "startup_ms", "zoriza", "floor_dlls", 1, 1)
    t.compare(f"· start-up, {controls}", "startup_ms", "zoriza", "floor_controls", 1, 1)
    if t.s("startup_ms", "variant"):
        t.compare(f"· start-up, the --variant build ({t.build}) against the same floor", "startup_ms", "variant",
                  "floor", 1, 1)
        t.compare(f"· start-up, this ZORIZA.exe against the --variant build ({t.build})", "startup_ms", "zoriza",
                  "variant", 1, 1)
    t.compare("Peak working set, MiB (floor: one empty window)", "peak_working_set_bytes", "zoriza", "floor",
              MIB, 2, 1.5)
    t.compare("Private bytes, MiB (floor: one empty window)", "private_bytes", "zoriza", "floor", MIB, 2, 1.5)
    for measure, label in (("peak_working_set_bytes", "peak working set"), ("private_bytes", "private bytes")):
        t.compare(f"· {label}, {dlls}", measure, "zoriza", "floor_dlls", MIB, 2)
        t.compare(f"· {label}, {controls}", measure, "zoriza", "floor_controls", MIB, 2)
        if t.s(measure, "variant"):
            t.compare(f"· {label}, the --variant build ({t.build}) against the same floor", measure, "variant",
                      "floor", MIB, 2)


def create_rows(t):
    t.compare("Create command, ms (floor: 8 shortcuts + 5 values, timed inside)", "create_ms", "zoriza",
              "floor_create", 1, 1, 1.2)
    box = t.s("create_ms", "floor_box")
    if box:
        t.reference("· a click that only opens a message box (floor panel), ms", box, 1, 1)
        z, f = median(t.s("create_ms", "zoriza")), median(t.s("create_ms", "floor_create"))
        if z is not None and f:
            rest = z - median(box)
            t.row("· ZORIZA.exe's create less that click-to-box time, ms", f"{rest:.1f}", f"{f:.1f}",
                  fmt_ratio(rest / f), "(for reference)", "—")
    t.compare("Unattended create `/create` with switches, process start to end, ms (floor: floor_create, "
              "the same way)", "unattended_ms", "zoriza", "floor_create", 1, 1, 1.1)
    t.compare("Logon repair: `/create` again over its own 8 shortcuts, all right already, ms (floor: "
              "floor_create writing them again)", "repair_ms", "zoriza", "floor_create", 1, 1, 1.0)
    t.compare("Compliance check: `/check` over its own 8 shortcuts and 5 settings, all in place, ms (floor: "
              "floor_create writing them again)", "check_ms", "zoriza", "floor_create", 1, 1, 0.75)
    inside = t.s("unattended_inside_ms", "floor_create")
    if inside:
        t.reference("· floor_create's own time inside its process, ms", inside, 1, 1)


def scan_rows(t):
    points = {"zoriza": [], "floor_panel": []}
    for drives in SCAN_DRIVES:
        measure = f"scan_ms_{drives}"
        extra = ""
        if drives > 1:
            extra = ", 1 not ready" if t.info.get(f"scan_not_ready_drive_{drives}") == "yes" else ", none not ready"
        listed = t.info.get(f"scan_drives_listed_{drives}", "?")
        t.compare(f"Scan, {plural(drives)}{extra} ({listed} listed), ms", measure, "zoriza", "floor_panel", 1, 2, 1.2)
        if t.s(measure, "variant"):
            t.compare(f"· scan, the --variant build ({t.build}) against the same floor", measure, "variant",
                      "floor_panel", 1, 2)
            t.compare(f"· scan, this ZORIZA.exe against the --variant build ({t.build})", measure, "zoriza",
                      "variant", 1, 2)
        for program, found in points.items():
            m = median(t.s(measure, program))
            if m is not None:
                found.append(m)
        lookups = t.s(f"scan_lookups_ms_{drives}", "floor_panel")
        if lookups:
            t.reference(f"· floor's lookups alone, {plural(drives).replace(' mapped', '')}, ms", lookups, 1, 3)
    if all(len(p) == len(SCAN_DRIVES) for p in points.values()):
        growth_rows(t, points)


def growth_rows(t, points):
    growth, deviation = {}, {}
    for program, (y1, y8, y24) in points.items():
        growth[program] = ((y24 - y1) / 23 * 1000, (y24 - y8) / 16 * 1000)
        # How far the 8-drive time lies from the straight line through the
        # 1- and 24-drive times, as a share of the 8-drive time.
        deviation[program] = (y8 - (y1 + (y24 - y1) * 7 / 23)) / y8
    z, f = growth["zoriza"], growth["floor_panel"]
    t.row("Scan growth per added drive, 1→24 drives, µs", f"{z[0]:.0f}", f"{f[0]:.0f}",
          fmt_ratio(ratio(z[0], f[0])), "(for reference)", "—")
    t.row("Scan growth per added drive, 8→24 drives, µs", f"{z[1]:.0f}", f"{f[1]:.0f}",
          fmt_ratio(ratio(z[1], f[1])), "(for reference)", "—")
    dz, df = deviation["zoriza"], deviation["floor_panel"]
    t.row(f"Scan growth linear: 8 drives within {LINEAR_TOLERANCE:.0%} of the line from 1 to 24",
          f"{dz:+.0%}", f"{df:+.0%}", "—", "linear", "yes" if abs(dz) <= LINEAR_TOLERANCE else "**no**")


def stalled_rows(t):
    for stalled in (0, 1, 4):
        z = t.s(f"stalled_scan_ms_{stalled}", "zoriza")
        if z:
            target = "—" if stalled == 0 else f"≤ {(BOUND_MS + 500) / 1000:.1f} s"
            t.row(f"Scan with {stalled} stalled drive{'s' if stalled != 1 else ''} before the launcher's, s",
                  spread(z, 1000, 2), "—", "—", target, "—" if stalled == 0 else met(median(z), BOUND_MS + 500))
    answering, stalled = t.s("stalled_startup_ms", "answering"), t.s("stalled_startup_ms", "stalled")
    if answering and stalled:
        extra = median(stalled) - median(answering)
        t.row("Start-up to idle with the saved folder on a stalled drive, s (floor: the same, answering)",
              spread(stalled, 1000, 2), spread(answering, 1000, 2),
              fmt_ratio(ratio(median(stalled), median(answering))), "≤ floor + 3.5 s", met(extra, BOUND_MS + 500))


def probe_rows(t, samples, info):
    for (measure, build, _), values in samples.items():
        if measure == "drive_probe_ms":
            listed = info.get("scan_drives_listed_1", "?")
            t.reference(f"· type and label of the {listed} drives, as the drive list asks them at start "
                        f"(the {build} driver), ms", values, 1, 2)


def build_table(samples, info, build, judged):
    t = Table(samples, info, build, judged)
    size_rows(t)
    start_up_rows(t)
    create_rows(t)
    scan_rows(t)
    stalled_rows(t)
    return t


# The measures compared across the builds: ZORIZA.exe against ZORIZA.exe,
# and the floor against the floor, which says how much of the difference is
# the processor's and Wine's rather than the program's.
ACROSS = [
    ("Start-up to idle, ms", "startup_ms", "floor"),
    ("Create command, ms", "create_ms", "floor_create"),
    ("Unattended create, ms", "unattended_ms", "floor_create"),
] + [(f"Scan, {plural(d)}, ms", f"scan_ms_{d}", "floor_panel") for d in SCAN_DRIVES]


def print_across(samples):
    print(f"The {SHIPPED} file over the {OTHER} build (same rounds)")
    print()
    print(f"| Measure | ZORIZA.exe {SHIPPED} | ZORIZA.exe {OTHER} | Ratio | Paired | "
          f"Floor {SHIPPED} | Floor {OTHER} | Floor ratio |")
    print("|---|---|---|---|---|---|---|---|")
    for label, measure, floor in ACROSS:
        z32, z64 = samples.get((measure, SHIPPED, "zoriza"), []), samples.get((measure, OTHER, "zoriza"), [])
        f32, f64 = samples.get((measure, SHIPPED, floor), []), samples.get((measure, OTHER, floor), [])
        if not z32 or not z64:
            continue
        digits = 2 if measure.startswith("scan") else 1
        print(f"| {label} | {spread(z32, 1, digits)} | {spread(z64, 1, digits)} | "
              f"{fmt_ratio(ratio(median(z32), median(z64)))} | {fmt_ratio(paired(z32, z64))} | "
              f"{spread(f32, 1, digits)} | {spread(f64, 1, digits)} | {fmt_ratio(ratio(median(f32), median(f64)))} |")
    print()


def print_header(info):
    not_ready = info.get("not_ready_mount") == "yes"
    print(f"ZORIZA benchmark: {info.get('runs', '?')} timed runs of each program for start-up, memory and "
          f"create, {info.get('scan_runs', '?')} for each scan, {info.get('stalled_runs', '?')} on stalling "
          f"servers (shipped file only) (after {info.get('warmup', '?')} warm-up round), interleaved, both builds "
          f"in the same rounds, one prefix; {info.get('wine', '?')}; {info.get('cpu', '?')}; i386 code: "
          f"{info.get('i386_code', '?')}; not-ready drive: {'yes' if not_ready else 'no (FUSE mount unavailable)'}; "
          f"{info.get('seconds', '?')} s")
    if info.get("variant"):
        print(f"--variant: {info['variant']}")
    print(f"Load average (1 min) before and after: {info.get('load_before', '?')} / {info.get('load_after', '?')}. "
          "Figures: median (first–third quartile). Ratio: one median over the other; "
          "paired: median of the run-by-run ratios.")
    print()


def main(path):
    samples, info = read(path)
    print_header(info)
    shipped = build_table(samples, info, SHIPPED, judged=True)
    probe_rows(shipped, samples, info)
    shipped.print(f"The shipped file: {SHIPPED} ZORIZA.exe beside floors built with the {SHIPPED} toolchain")
    build_table(samples, info, OTHER, judged=False).print(
        f"The {OTHER} build beside floors built with the {OTHER} toolchain (targets judged on the shipped file only)")
    print_across(samples)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/bench/results.txt")
