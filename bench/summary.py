#!/usr/bin/env python3
"""Reads the JSON results of every benchmark program in a folder and prints
one table: figure, value, unit, goal and verdict ("ok", "miss", or "-" for a
figure without a goal); writes the same table to summary.tsv there."""
import json
import pathlib
import re
import sys

# (program, benchmark name pattern, counter, figure, unit, goal): a figure
# for every benchmark the pattern matches; "{0}" in the figure takes the
# pattern's first group. The goal is an upper bound, or None.
FIGURES = [
    ("saver", r"FirstFrame/width:(\d+)", "first_frame_ms", "first frame {0}", "ms", None),
    ("saver", r"FirstFrame/width:(\d+)", "x_floor", "first frame {0}", "x bare capture+put", 3),
    ("saver", r"Memory/width:(\d+)", "peak_mb", "peak memory {0}", "MB", None),
    ("saver", r"Memory/width:(\d+)", "bytes_per_pixel", "peak memory {0} above start", "bytes/pixel", 8),
    ("saver", r"Cpu/width:(1920)/speed:100/preview:0", "core_pct", "idle CPU {0} default speed", "% core", 0.3),
    ("saver", r"Cpu/width:(3840)/speed:100/preview:0", "core_pct", "idle CPU {0} default speed", "% core", 0.6),
    ("saver", r"Cpu/width:(\d+)/speed:100/preview:0", "floor_pct", "idle CPU {0} bare ticks", "% core", None),
    ("saver", r"Cpu/width:(\d+)/speed:100/preview:0", "x_floor", "idle CPU {0} default speed", "x bare ticks", None),
    ("saver", r"Cpu/width:(1920)/speed:1/preview:0", "core_pct", "idle CPU {0} speed 1", "% core", 15),
    ("saver", r"Cpu/width:(3840)/speed:1/preview:0", "core_pct", "idle CPU {0} speed 1", "% core", None),
    ("saver", r"Cpu/width:(\d+)/speed:100/preview:1", "core_pct", "idle CPU preview of {0}", "% core", None),
    ("desktops", r"Desktop/display:(\w+)/width:1920", "first_frame_ms", "first frame 1920 on {0}", "ms", None),
    ("desktops", r"Desktop/display:(\w+)/width:1920", "cpu_pct", "idle CPU 1920 on {0} with its server", "% core",
     None),
    ("desktops", r"Desktop/display:(\w+)/width:1920", "saver_pct", "idle CPU 1920 on {0}, the saver alone", "% core",
     None),
    ("desktops", r"Desktop/display:(\w+)/width:1920", "server_alone_pct", "idle CPU of the server on {0} alone",
     "% core", None),
    ("desktops", r"Desktop/display:(\w+)/width:1920", "cpu_over_server_pct",
     "idle CPU 1920 on {0} above its server alone", "% core", None),
    ("desktops", r"Desktop/display:(\w+)/width:1920", "bytes_per_pixel", "peak memory 1920 on {0} above start",
     "bytes/pixel", 8),
    ("parade", r"Build/(\d+)", "build_ms", "scene build {0}", "ms", None),
    ("parade", r"Build/(\d+)", "x_memcpy", "scene build {0}", "x fresh memcpy", 5),
    ("parade", r"Tick/width:(\d+/bits:\d+/scale:\d+)", "tick_us", "tick {0}", "us", None),
    ("parade", r"Tick/width:(\d+/bits:\d+/scale:\d+)", "x_memcpy", "tick {0}", "x memcpy", 3),
    ("imaging", r"(Convert.*?)/manual_time", "x_memcpy", "{0}", "x memcpy", 1.5),
    ("imaging", r"(Convert.*?)/manual_time", "x_fresh", "{0}", "x fresh block copy", None),
    ("imaging", r"((?:ApplyShade|Interlace|AdjustGamma).*?)/manual_time", "x_memcpy", "{0}", "x memcpy", None),
    ("imaging", r"(BlitFrom.*?)/manual_time", "x_memcpy", "{0}", "x memcpy", None),
    ("present", r"(PreviewFrame)", "x_memcpy", "preview shrink 1920x1080", "x memcpy", 4),
    ("present", r"(TickRectangles)", "x_memcpy", "present tick rectangles", "x memcpy", None),
    ("present", r"(FullFrame)", "x_memcpy", "present full frame", "x memcpy", None),
    ("smf", r"(\w+)/manual_time", "x_memchr", "song {0}", "x memchr", None),
    ("stream", r"BM_LiveLateness/realtime:(\d/busy:\d)", "p99_us", "stream lateness p99 realtime:{0}", "us", None),
    ("stream", r"BM_LiveLateness/realtime:(\d/busy:\d)", "x_floor_p99", "stream lateness p99 realtime:{0}", "x bare sleep", None),
    ("stream", r"(BM_OfflineRender)", "x_floor", "offline render", "x file write", None),
    ("music", r"LiveMusic/server:(\w+)", "dropout_pct", "live music dropouts, 3 busy loops a core, {0}", "% of 90 s", 0.1),
    ("music", r"LiveMusic/server:(\w+)", "seam_jump_ms", "live music offset jump at the seam, {0}", "ms", 2),
    ("music", r"LiveMusic/server:(\w+)", "silence_ms", "live music input to silence, {0}", "ms", 200),
    ("web", r"WebFrame/width:(\d+)", "frame_us", "web frame {0} (tick and paint)", "us", None),
    ("web", r"WebFrame/width:(\d+)", "all_us", "web frame {0} (all the program's time)", "us", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "page_pct", "web page CPU {0} (all browser processes)", "% core", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "page_silent_pct", "web page CPU {0} music off", "% core", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "hidden_pct", "web page CPU hidden", "% core", 0.2),
    ("web-cpu", r"WebCpu/width:(\d+)", "empty_pct", "empty page CPU (the browser's floor)", "% core", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "empty_hidden_pct", "empty page CPU minimized", "% core", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "changing_pct", "20x20 canvas changed 10 times a second", "% core", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "x_changing_silent", "web page CPU {0} music off",
     "x 20x20 canvas changing", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "x_empty_hidden", "web page CPU hidden", "x empty page minimized", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "desktop_x_pct", "desktop saver {0} with its X server", "% core", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "x_desktop", "web page CPU {0}", "x desktop saver and X server", 3),
    ("web-cpu", r"WebCpu/width:(\d+)", "desktop_music_x_sound_pct",
     "desktop saver {0} playing music, with its X and sound servers", "% core", None),
    ("web-cpu", r"WebCpu/width:(\d+)", "x_desktop_music", "web page CPU {0}",
     "x desktop saver playing music, X and sound servers", 3),
    ("web-cpu", r"WebCpu/width:(\d+)", "x_desktop_silent", "web page CPU {0} music off", "x desktop saver and X server", None),
    ("web-network", r"WebNetwork/mbit:([\d.]+)", "first_screen_ms", "web first screen at {0} Mbit/s", "ms", None),
    ("web-network", r"WebNetwork/mbit:([\d.]+)", "ready_ms", "web program ready at {0} Mbit/s", "ms", None),
    ("web-network", r"WebNetwork/mbit:([\d.]+)", "music_ms", "web music heard at {0} Mbit/s", "ms", None),
]

# A figure of one program over one of another, measured in the same run:
# (figure, unit, goal, numerator, denominator), each (program, name
# pattern, counter, scale).
RATIOS = [
    ("first frame 1920 on wayland", "x on x11", 1.2,
     ("desktops", r"display:wayland", "first_frame_ms", 1), ("desktops", r"display:x11", "first_frame_ms", 1)),
    ("idle CPU 1920 on wayland with its server", "x on x11", 1.2,
     ("desktops", r"display:wayland", "cpu_pct", 1), ("desktops", r"display:x11", "cpu_pct", 1)),
    ("idle CPU 1920 on wayland, the saver alone", "x on x11", 1.2,
     ("desktops", r"display:wayland", "saver_pct", 1), ("desktops", r"display:x11", "saver_pct", 1)),
    ("idle CPU 1920 on wayland above its server alone", "x on x11", None,
     ("desktops", r"display:wayland", "cpu_over_server_pct", 1), ("desktops", r"display:x11", "cpu_over_server_pct", 1)),
    ("web frame 1920 (tick and paint)", "x desktop tick and paint", 2,
     ("web", r"WebFrame/width:1920", "frame_us", 1),
     # The desktop saver's share of a core at one tick per 100 ms, as the
     # microseconds of each tick.
     ("saver", r"Cpu/width:1920/speed:100/preview:0", "core_pct", 1000)),
    ("web frame 1920 (tick and paint)", "x desktop scene tick", None,
     ("web", r"WebFrame/width:1920", "frame_us", 1),
     ("parade", r"Tick/width:1920/bits:32/scale:1", "tick_us", 1)),
]


def Find(results, program, pattern, counter, scale):
    for bench in results.get(program, []):
        if re.search(pattern, bench["name"]) and counter in bench:
            return bench[counter] * scale
    return None


def Verdict(value, goal):
    return "-" if goal is None else ("ok" if value <= goal else "miss")


def Rows(folder):
    results = {}
    for path in folder.glob("*.json"):
        try:
            results[path.stem] = json.loads(path.read_text())["benchmarks"]
        except (ValueError, KeyError):
            continue
    for program, pattern, counter, figure, unit, goal in FIGURES:
        for bench in results.get(program, []):
            match = re.search(pattern, bench["name"])
            if not match or counter not in bench:
                continue
            value = bench[counter]
            yield (figure.format(*match.groups()), value, unit, "-" if goal is None else "<= %g" % goal,
                   Verdict(value, goal))
    for figure, unit, goal, numerator, denominator in RATIOS:
        above, below = Find(results, *numerator), Find(results, *denominator)
        if above is not None and below:
            yield (figure, above / below, unit, "-" if goal is None else "<= %g" % goal, Verdict(above / below, goal))


def main():
    folder = pathlib.Path(sys.argv[1])
    rows = list(Rows(folder))
    header = ("figure", "value", "unit", "goal", "verdict")
    with open(folder / "summary.tsv", "w") as tsv:
        tsv.write("\t".join(header) + "\n")
        for row in rows:
            tsv.write("\t".join([row[0], "%.4g" % row[1], row[2], row[3], row[4]]) + "\n")
    width = max(len(row[0]) for row in rows) if rows else 10
    print("%-*s %10s  %-20s %-8s %s" % (width, *header))
    for figure, value, unit, goal, verdict in rows:
        print("%-*s %10.4g  %-20s %-8s %s" % (width, figure, value, unit, goal, verdict))
    misses = sum(1 for row in rows if row[4] == "miss")
    print("%d figures, %d with goals, %d missed" % (len(rows), sum(1 for row in rows if row[4] != "-"), misses))


if __name__ == "__main__":
    main()
