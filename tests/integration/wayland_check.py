#!/usr/bin/env python3
"""Compares screenshots of the Wayland tests, read as raw RGB through
ImageMagick's convert.

  still-match DESKTOP SHOT1 SHOT2 [X Y W H]
      Of the pixels that are the same in both shots (where no unit walked),
      prints the share that shows the desktop within the rounding of 5-6-5
      pixels, inside the rectangle when given.
  tallest FILE
      Prints the longest run of pixels that are not black down any column:
      the height of the tallest unit on a black background.
"""
import subprocess
import sys

TOLERANCE = (8, 4, 8)


def pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True, capture_output=True, text=True)
    width, height = (int(v) for v in size.stdout.split())
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return width, height, raw


def still_match(desktop, first, second, area):
    width, height, d = pixels(desktop)
    w1, h1, a = pixels(first)
    w2, h2, b = pixels(second)
    if (w1, h1) != (width, height) or (w2, h2) != (width, height):
        print(0.0)
        return
    x0, y0, w, h = area if area else (0, 0, width, height)
    still = matching = 0
    for y in range(y0, min(y0 + h, height)):
        row = y * width * 3
        for x in range(x0, min(x0 + w, width)):
            i = row + x * 3
            if a[i:i + 3] != b[i:i + 3]:
                continue
            still += 1
            if all(abs(a[i + c] - d[i + c]) <= TOLERANCE[c] for c in range(3)):
                matching += 1
    print(f"{matching / still if still else 0.0:.4f}")


def tallest(path):
    width, height, raw = pixels(path)
    runs = [0] * width
    longest = 0
    for y in range(height):
        row = raw[y * width * 3:(y + 1) * width * 3]
        for x in range(width):
            if row[3 * x] or row[3 * x + 1] or row[3 * x + 2]:
                runs[x] += 1
                longest = max(longest, runs[x])
            else:
                runs[x] = 0
    print(longest)


if __name__ == "__main__":
    if sys.argv[1] == "still-match":
        still_match(sys.argv[2], sys.argv[3], sys.argv[4], [int(v) for v in sys.argv[5:9]])
    elif sys.argv[1] == "tallest":
        tallest(sys.argv[2])
