#!/usr/bin/env python3
"""Prints the benchmark figures of one run next to the floors measured in the same run.

Reads the JSON that voidskirmish_bench writes with --benchmark_out=FILE --benchmark_out_format=json. Each figure
is shown with its floor (the cheapest thing that does the same kind of work) and the ratio to it; benchmarks
without a floor are listed after them, and the steady-state allocation count closes the report.
"""
import argparse
import json
import re
import sys

NANOSECONDS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}

# (figure, floor, what the floor is). A figure is a regular expression over the benchmark's name without its
# options (/real_time, /min_time:..., /iterations:...); the floor's name may take its groups (\\1).
FLOORS = [
    (r"BM_GameFrame/particles:\d+/bloom:\d", "BM_GameEmptyFrame", "clear + swap in the game's window"),
    (r"BM_GameFrameAtScale/scale_percent:\d+/bloom:\d", "BM_GameEmptyFrame", "clear + swap in the game's window"),
    (r"BM_GameUpdate", "BM_SweepPoolLife", "plain memory sweep of the particle pool"),
    (r"BM_MatchUpdateWithIdleParticles", "BM_SweepPoolLife", "plain memory sweep of the particle pool"),
    (r"BM_UpdateParticles/\d+", "BM_SweepPoolLife", "plain memory sweep of the particle pool"),
    (r"BM_CopyPoolBytes", "BM_SweepPoolLife", "plain memory sweep of the particle pool"),
    (r"BM_PostProcessingFrame/.*", "BM_EmptyFrame", "clear + swap in the post-processing window"),
    (r"BM_TenOneFetchPasses", "BM_EmptyFrame", "clear + swap in the post-processing window"),
    (r"BM_TenBlurPasses", "BM_TenOneFetchPasses", "ten passes of one texture fetch"),
    (r"BM_EdgePass", "BM_EdgePassFloor", "the same pass with one texture fetch"),
    (r"BM_CombinePass", "BM_CombinePassFloor", "the same pass with one texture fetch"),
    (r"BM_GameScenePass(/enemy_in_sight:\d)", r"BM_GameScenePassFloor\1", "the same draws in a constant colour"),
    (r"BM_GameContourPass(/enemy_in_sight:\d)", r"BM_GameContourPassFloor\1", "the same draws in a constant colour"),
    (r"BM_NearestHitOverTheField", "BM_IntersectOneSphere", "one line-sphere test"),
    (r"BM_MatchSaveAndRestore", "BM_CopySnapshotBytes", "copying the snapshot's bytes out and back"),
    (r"BM_RollbackSteps/steps:\d+", "BM_GameUpdate", "one frame's update of the rules"),
    (r"BM_SeekWithKeptStates(/\d+)", r"BM_ReplayFramesHeadless\1", "replaying the same frames headless"),
    (r"BM_GameFrameSound/sound:1", "BM_GameFrameSound/sound:0", "the same frame without sound"),
    (r"BM_ComputerDecide", "BM_GameUpdate", "one frame's update of the rules"),
    (r"BM_FireHittingTheEnemy", "ModelLoad/Voidskirmish/Material/cylinder.dae", "loading the beam's model"),
]
# Figures given per item of a counter, so they compare with a floor that handles one item.
PER_ITEM = {"BM_NearestHitOverTheField": "spheres", "BM_RollbackSteps/steps:8": "steps"}
ALLOCATIONS = "BM_GameSteadyStateAllocations"  # at each render scale it is run at

# Work that waits for the driver: timed by the wall clock, since llvmpipe draws on threads of its own. First
# draws wait for it as well without asking for real time.
WALL_CLOCK = re.compile(r"/real_time|^FirstDraw/")
OPTION = re.compile(r"/(real_time|process_time|min_time:[^/]*|iterations:\d+|repeats:\d+|threads:\d+)")
# With --clock cpu, GL work is timed by the CPU time of the whole process instead (driver threads included),
# which other programs on the same cores disturb far less than the wall clock.
GL_CLOCK = {"wall": "real_time", "cpu": "cpu_time"}
gl_clock = GL_CLOCK["wall"]


def key(run):
    return OPTION.sub("", run["run_name"] if "run_name" in run else run["name"])


def collect(runs):
    """One run per benchmark: the median when repetitions made one, otherwise the first run."""
    chosen = {}
    for run in runs:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        name = key(run)
        if name not in chosen or run.get("aggregate_name") == "median":
            chosen[name] = run
    return chosen


def seconds(run):
    """Wall-clock time for GL work, CPU time for the rest (steadier while other programs share the cores)."""
    clock = gl_clock if WALL_CLOCK.search(run["name"]) else "cpu_time"
    return run[clock] * NANOSECONDS[run.get("time_unit", "ns")] / 1e9


def per_item(name, run):
    counter = PER_ITEM.get(name)
    return seconds(run) / run[counter] if counter and run.get(counter) else seconds(run)


def pretty(value):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if value >= scale:
            return f"{value / scale:.3g} {unit}"
    return f"{value / 1e-9:.3g} ns"


def floor_of(name):
    for pattern, floor, description in FLOORS:
        match = re.fullmatch(pattern, name)
        if match:
            return match.expand(floor), description
    return None, None


def skipped(run):
    return run.get("error_occurred") or run.get("skipped")


def label(name):
    counter = PER_ITEM.get(name)
    return f"{name} (per {counter[:-1]})" if counter else name


def figure_rows(runs):
    rows, loose = [], []
    floors = {floor_of(name)[0] for name in runs}
    for name, run in runs.items():
        if allocation_check(name) or skipped(run) or (name in floors and floor_of(name)[0] is None):
            continue
        value = per_item(name, run)
        floor, description = floor_of(name)
        if floor is None:
            loose.append((label(name), pretty(value)))
            continue
        floor_run = runs.get(floor)
        if floor_run is None or skipped(floor_run):
            rows.append((label(name), pretty(value), f"{floor} ({description})", "not measured", "-"))
            continue
        floor_value = seconds(floor_run)
        rows.append((label(name), pretty(value), f"{floor} ({description})", pretty(floor_value),
                     f"{value / floor_value:.3g}x"))
    return rows, loose


def allocation_check(name):
    return name.split("/")[0] == ALLOCATIONS


def allocation_verdict(raw_runs):
    """Sums every repetition's frames, so repetitions only add to the evidence."""
    checks = [run for run in raw_runs if allocation_check(key(run)) and run.get("run_type") != "aggregate"]
    if not checks:
        return "allocation check not run"
    if any(skipped(run) for run in checks):
        return "allocation check skipped: " + checks[0].get("error_message", "")
    frames = sum(int(run["iterations"]) for run in checks)
    count = sum(int(run["allocations"]) for run in checks)
    if count == 0:
        return f"no heap allocation per frame in steady state ({frames} frames counted)"
    return f"{count} heap allocations in {frames} steady-state frames ({count / frames:.3g} per frame)"


def table(rows, header):
    widths = [max(len(str(cell)) for cell in column) for column in zip(header, *rows)]
    lines = ["  ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip()
             for row in [header, tuple("-" * width for width in widths), *rows]]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("json", help="the file written with --benchmark_out_format=json")
    parser.add_argument("--clock", choices=GL_CLOCK, default="wall",
                        help="time GL work by the wall clock (default) or by the process's CPU time")
    arguments = parser.parse_args()
    global gl_clock
    gl_clock = GL_CLOCK[arguments.clock]
    with open(arguments.json, encoding="utf-8") as file:
        report = json.load(file)
    context = report.get("context", {})
    raw_runs = report.get("benchmarks", [])
    runs = collect(raw_runs)
    if not runs:
        sys.exit("no benchmark results in the file")

    load = ", ".join(f"{value:.2f}" for value in context.get("load_avg", []))
    print(f"Run of {context.get('date', '?')} on {context.get('host_name', '?')}, "
          f"{context.get('num_cpus', '?')} CPUs, load average at start: {load or '?'}")
    gl_time = "wall-clock" if gl_clock == "real_time" else "CPU time of the whole process"
    print(f"Times: {gl_time} for GL benchmarks (they wait for the driver), CPU time for the others.\n")
    rows, loose = figure_rows(runs)
    if rows:
        print(table(rows, ("Figure", "Value", "Floor (same run)", "Floor value", "Ratio")) + "\n")
    if loose:
        print(table(loose, ("Without a floor", "Value")) + "\n")
    for name, run in runs.items():
        if skipped(run) and not allocation_check(name):
            print(f"Skipped {name}: {run.get('error_message', '')}")
    print("Allocations: " + allocation_verdict(raw_runs))


if __name__ == "__main__":
    main()
