#!/usr/bin/env python3
"""Checks a recording of the saver's music against the song's own render.

    sound_check.py RECORDING REFERENCE WINDOW_AT INPUT_AT [--short]

RECORDING and REFERENCE are 16-bit stereo WAV files at 44.1 kHz: what the
sound server played, and what the record mode rendered of the same song on
its virtual clock. WINDOW_AT and INPUT_AT are the seconds, in the
recording's own time, at which the saver's window appeared and at which the
input (or signal) that ended it came. --short: a recording too short to
time the music; everything else is checked. Prints the figures, one per line, and exits 1
when one misses its bound.
"""
import array
import statistics
import sys
import wave

RATE = 44100
HOP = 44                 # about a millisecond of sound per envelope step
SMOOTH = 10              # envelope steps averaged, so that low notes do not ripple it
DROPOUT_FRAMES = 32      # a run of this many exactly-zero frames is a dropout
WINDOW_STEPS = 500       # half a second of envelope per timing window
SEARCH_STEPS = 80        # how far a window may be from where the first onset puts it
# The recording's own time of the input is known to a few tens of ms only
# (the recorder's buffering), so the timing windows end this long before it.
ENDING_MARGIN = 0.25


def frames(path):
    with wave.open(path, "rb") as wav:
        if wav.getnchannels() != 2 or wav.getsampwidth() != 2 or wav.getframerate() != RATE:
            sys.exit(f"{path}: not 16-bit stereo at {RATE} Hz")
        samples = array.array("h", wav.readframes(wav.getnframes()))
    if sys.byteorder != "little":
        samples.byteswap()
    return [abs(samples[i]) + abs(samples[i + 1]) for i in range(0, len(samples) - 1, 2)]


def envelope(levels):
    steps = [sum(levels[i:i + HOP]) for i in range(0, len(levels) - HOP + 1, HOP)]
    return [sum(steps[i:i + SMOOTH]) for i in range(len(steps) - SMOOTH + 1)]


def first_above(values, threshold, start=0):
    return next((i for i in range(start, len(values)) if values[i] > threshold), None)


def correlation(a, b):
    mean_a, mean_b = sum(a) / len(a), sum(b) / len(b)
    da = [x - mean_a for x in a]
    db = [y - mean_b for y in b]
    norm = (sum(x * x for x in da) * sum(y * y for y in db)) ** 0.5
    return sum(x * y for x, y in zip(da, db)) / norm if norm else 0.0


def main():
    recording, reference = frames(sys.argv[1]), frames(sys.argv[2])
    window_at, input_at = float(sys.argv[3]), float(sys.argv[4])
    failures = []

    start = first_above(recording, 0)
    if start is None:
        sys.exit("the recording is silent")
    end = min(int(input_at * RATE), len(recording))
    print(f"music starts {start / RATE - window_at:.3f} s after the window appears ({window_at:.3f} s in)")
    if start / RATE - window_at > 1.0:
        failures.append("the music started more than 1 s after the window")

    lost, run = 0, 0
    for level in recording[start:end]:
        if level == 0:
            run += 1
        else:
            lost += run if run >= DROPOUT_FRAMES else 0
            run = 0
    share = 100.0 * lost / max(1, end - start)
    print(f"dropouts {share:.3f} % of {(end - start) / RATE:.2f} s")
    if share >= 0.1:
        failures.append("dropouts of 0.1 % or more")

    rms = (sum(level * level for level in recording[start:end]) / max(1, end - start)) ** 0.5 / 65536
    print(f"rms {rms:.4f}")
    if rms < 0.005:
        failures.append("the music is too quiet to hear")

    last = max((i for i in range(len(recording)) if recording[i] > 2), default=start)
    print(f"silent {last / RATE - input_at:.3f} s after the input")
    if last / RATE - input_at > 0.2:
        failures.append("sound more than 200 ms after the input")

    if sys.argv[5:] == ["--short"]:
        report(failures)
    rec_env = envelope(recording[:max(start, end - int(ENDING_MARGIN * RATE))])
    ref_env = envelope(reference)
    threshold = max(ref_env) / 50
    lag = first_above(rec_env, threshold) - first_above(ref_env, threshold)
    lags = []
    for at in range(first_above(ref_env, threshold), len(ref_env) - WINDOW_STEPS, WINDOW_STEPS):
        window = ref_env[at:at + WINDOW_STEPS]
        if max(window) < threshold or at + lag + SEARCH_STEPS + WINDOW_STEPS > len(rec_env):
            continue
        score, best = max((correlation(window, rec_env[at + shift:at + shift + WINDOW_STEPS]), shift)
                          for shift in range(lag - SEARCH_STEPS, lag + SEARCH_STEPS + 1))
        # Only a window that matches one place clearly times anything; a best
        # match at the edge of the search may stand for one beyond it.
        if score >= 0.8 and abs(best - lag) < SEARCH_STEPS:
            lags.append(best)
    if len(lags) < 4:
        failures.append("too little music to time")
    else:
        error = max(abs(shift - statistics.median(lags)) for shift in lags) * HOP / RATE * 1000
        print(f"onsets within {error:.1f} ms of the song's timing over {len(lags)} windows")
        if error > 2.0:
            failures.append("onsets more than 2 ms off the song's timing "
                            f"(each window's shift in ms: {[round(shift * HOP / RATE * 1000, 1) for shift in lags]})")

    report(failures)


def report(failures):
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    sys.exit(1 if failures else 0)


main()
