#!/bin/sh
# Test GIFs: three frames (red 200 ms, green with delay 0, blue 50 ms) and a
# single red frame.
set -e
out="$1"
mkdir -p "$out"
convert -size 20x20 -delay 20 xc:red -delay 0 xc:lime -delay 5 xc:blue -loop 0 "$out/three_frames.gif"
convert -size 20x20 xc:red "$out/one_frame.gif"
