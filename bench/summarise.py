#!/usr/bin/env python3
"""Prints the benchmark table from the lines bench_driver.exe and run.sh wrote.

    sample <measure> <program> <value>
    info <key> <value...>

Each figure is the median of its samples, with the middle half of them
(first to third quartile) in brackets; a ratio is ZORIZA.exe's median over
the floor's median. "Paired" is the median of the ratios run by run: the
programs take turns, so the n-th sample of each comes from the same round,
and a load that comes and goes on a shared machine cancels out of it.
"""
import statistics
import sys
from collections import defaultdict

KIB = 1024
MIB = 1024 * 1024
LINEAR_TOLERANCE = 0.10


def read(path):
    samples = defaultdict(list)
    info = {}
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            parts = line.strip().split(" ", 3)
            if parts[0] == "sample" and len(parts) == 4:
                samples[(parts[1], parts[2])].append(float(parts[3]))
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


def met(value, limit):
    if value is None:
        return "n/a"
    return "yes" if value <= limit else "**no**"


def fmt_ratio(value):
    return "n/a" if value is None else f"{value:.2f}"


def main(path):
    samples, info = read(path)
    rows = []

    def row(measure, zoriza, floor, r, target, ok, paired="—"):
        rows.append(f"| {measure} | {zoriza} | {floor} | {r} | {paired} | {target} | {ok} |")

    def s(measure, program):
        return samples.get((measure, program), [])

    size = int(info.get("shipped_bytes", "0"))
    row(f"Size of the shipped i686 `{info.get('shipped_path', 'ZORIZA.exe')}`",
        f"{size:,} B = {size / KIB:.1f} KiB", "—", "—", "≤ 300 KiB", met(size / KIB, 300))
    row("DLLs it imports", info.get("shipped_imports", "n/a"), "—", "—", "—", "—")

    def compare(label, measure, program, floor, scale, digits, target=None):
        z, f = s(measure, program), s(measure, floor)
        r = ratio(median(z), median(f))
        pairs = [a / b for a, b in zip(z, f) if b]
        row(label, spread(z, scale, digits), spread(f, scale, digits), fmt_ratio(r),
            f"≤ {target}" if target else "(for reference)", met(r, target) if target else "—",
            fmt_ratio(median(pairs)) if len(z) == len(f) and pairs else "—")
        return r

    compare("Start-up to idle, ms (floor: one empty window)", "startup_ms", "zoriza", "floor", 1, 1, 1.15)
    dlls = "floor + ZORIZA.exe's DLLs and manifest"
    controls = "floor + DLLs, manifest and 13 like controls"
    compare(f"· start-up, {dlls}", "startup_ms", "zoriza", "floor_dlls", 1, 1)
    compare(f"· start-up, {controls}", "startup_ms", "zoriza", "floor_controls", 1, 1)
    if s("startup_ms", "variant"):
        compare("· start-up, the --variant build against the same floor", "startup_ms", "variant", "floor", 1, 1)
        compare("· start-up, ZORIZA.exe against the --variant build", "startup_ms", "zoriza", "variant", 1, 1)
    compare("Peak working set, MiB (floor: one empty window)", "peak_working_set_bytes", "zoriza", "floor", MIB, 2, 1.5)
    compare("Private bytes, MiB (floor: one empty window)", "private_bytes", "zoriza", "floor", MIB, 2, 1.5)
    for measure, label in (("peak_working_set_bytes", "peak working set"), ("private_bytes", "private bytes")):
        compare(f"· {label}, {dlls}", measure, "zoriza", "floor_dlls", MIB, 2)
        compare(f"· {label}, {controls}", measure, "zoriza", "floor_controls", MIB, 2)
        if s(measure, "variant"):
            compare(f"· {label}, the --variant build against the same floor", measure, "variant", "floor", MIB, 2)
    compare("Create command, ms (floor: 8 shortcuts + 5 values, timed inside)", "create_ms", "zoriza",
            "floor_create", 1, 1, 1.2)
    box = s("create_ms", "floor_box")
    if box:
        row("· a click that only opens a message box (floor panel), ms", "—", spread(box, 1, 1), "—",
            "(for reference)", "—")
        z, f = median(s("create_ms", "zoriza")), median(s("create_ms", "floor_create"))
        if z is not None and f:
            rest = z - median(box)
            row("· ZORIZA.exe's create less that click-to-box time, ms", f"{rest:.1f}", f"{f:.1f}",
                fmt_ratio(rest / f), "(for reference)", "—")

    compare("Unattended create `/create` with switches, process start to end, ms (floor: floor_create, "
            "the same way)", "unattended_ms", "zoriza", "floor_create", 1, 1, 1.1)
    inside = s("unattended_inside_ms", "floor_create")
    if inside:
        row("· floor_create's own time inside its process, ms", "—", spread(inside, 1, 1), "—",
            "(for reference)", "—")

    scan_points = {"zoriza": [], "floor_panel": []}
    not_ready = info.get("not_ready_mount") == "yes"
    for drives in (1, 8, 24):
        measure = f"scan_ms_{drives}"
        extra = ""
        if drives > 1:
            extra = ", 1 not ready" if info.get(f"scan_not_ready_drive_{drives}") == "yes" else ", none not ready"
        listed = info.get(f"scan_drives_listed_{drives}", "?")
        compare(f"Scan, {drives} mapped drive{'s' if drives > 1 else ''}{extra} ({listed} listed), ms",
                measure, "zoriza", "floor_panel", 1, 2, 1.2)
        for program in scan_points:
            m = median(s(measure, program))
            if m is not None:
                scan_points[program].append((drives, m))
        lookups = s(f"scan_lookups_ms_{drives}", "floor_panel")
        if lookups:
            row(f"· floor's lookups alone, {drives} drive{'s' if drives > 1 else ''}, ms", "—",
                spread(lookups, 1, 3), "—", "(for reference)", "—")

    if all(len(p) == 3 for p in scan_points.values()):
        growth = {}
        deviation = {}
        for program, points in scan_points.items():
            (_, y1), (_, y8), (_, y24) = points
            growth[program] = ((y24 - y1) / 23 * 1000, (y24 - y8) / 16 * 1000)
            # How far the 8-drive time lies from the straight line through
            # the 1- and 24-drive times, as a share of the 8-drive time.
            deviation[program] = (y8 - (y1 + (y24 - y1) * 7 / 23)) / y8
        z, f = growth["zoriza"], growth["floor_panel"]
        row("Scan growth per added drive, 1→24 drives, µs", f"{z[0]:.0f}", f"{f[0]:.0f}",
            fmt_ratio(ratio(z[0], f[0])), "(for reference)", "—")
        row("Scan growth per added drive, 8→24 drives, µs", f"{z[1]:.0f}", f"{f[1]:.0f}",
            fmt_ratio(ratio(z[1], f[1])), "(for reference)", "—")
        dz, df = deviation["zoriza"], deviation["floor_panel"]
        row(f"Scan growth linear: 8 drives within {LINEAR_TOLERANCE:.0%} of the line from 1 to 24",
            f"{dz:+.0%}", f"{df:+.0%}", "—", "linear", "yes" if abs(dz) <= LINEAR_TOLERANCE else "**no**")

    # Servers that stop answering: the program waits for them at most its
    # bound, 3 s; the scan asks every drive at once.
    bound_ms = 3000
    for stalled in (0, 1, 4):
        z = s(f"stalled_scan_ms_{stalled}", "zoriza")
        if z:
            target = "—" if stalled == 0 else f"≤ {(bound_ms + 500) / 1000:.1f} s"
            row(f"Scan with {stalled} stalled drive{'s' if stalled != 1 else ''} before the launcher's, s",
                spread(z, 1000, 2), "—", "—", target, "—" if stalled == 0 else met(median(z), bound_ms + 500))
    answering, stalled = s("stalled_startup_ms", "answering"), s("stalled_startup_ms", "stalled")
    if answering and stalled:
        extra = median(stalled) - median(answering)
        row("Start-up to idle with the saved folder on a stalled drive, s (floor: the same, answering)",
            spread(stalled, 1000, 2), spread(answering, 1000, 2), fmt_ratio(ratio(median(stalled), median(answering))),
            "≤ floor + 3.5 s", met(extra, bound_ms + 500))

    probe = s("drive_probe_ms", "driver")
    if probe:
        listed = info.get("scan_drives_listed_1", "?")
        row(f"· type and label of the {listed} drives, as the drive list asks them at start, ms", "—",
            spread(probe, 1, 2), "—", "(for reference)", "—")

    print(f"ZORIZA benchmark: {info.get('runs', '?')} timed runs of each program for start-up, memory and "
          f"create, {info.get('scan_runs', '?')} for each scan, {info.get('stalled_runs', '?')} on stalling servers (after {info.get('warmup', '?')} warm-up round), "
          f"interleaved, one prefix; "
          f"{info.get('wine', '?')}; {info.get('cpu', '?')}; not-ready drive: "
          f"{'yes' if not_ready else 'no (FUSE mount unavailable)'}; {info.get('seconds', '?')} s")
    print(f"Load average (1 min) before and after: {info.get('load_before', '?')} / {info.get('load_after', '?')}. "
          "Figures: median (first–third quartile). Ratio: ZORIZA.exe median / floor median; "
          "paired: median of the run-by-run ratios.")
    print()
    print("| Measure | ZORIZA.exe | Floor | Ratio | Paired | Target | Met |")
    print("|---|---|---|---|---|---|---|")
    for line in rows:
        print(line)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/bench/results.txt")
