#!/bin/bash
# make-docs.sh GENERATOR: draws docs/units.png (every frame of every unit)
# and docs/parade.gif (the seven walk cycles) with the asset generator.
set -euo pipefail

generator=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$generator" --docs "$work"
convert "$work/units.ppm" -strip "$root/docs/units.png"
convert -delay 10 -loop 0 "$work"/parade-*.ppm -layers Optimize "$root/docs/parade.gif"
