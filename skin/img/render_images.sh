#!/bin/sh
# Renders one vector source (ImageMagick MVG, first line "viewbox 0 0 W H" at
# 100 %) into every scale the skin loader asks for:
#   name.png (100 %), name@80.png, name@125.png, name@150.png, name@200.png, name@300.png
# Given NAME and UNITS, it draws the source UNITS wide (height in proportion)
# under NAME instead, for a box larger than the source's own size.
# usage: render_images.sh SOURCE.mvg OUTPUT_DIR [NAME UNITS]
set -eu
src=$1
out=$2
name=${3:-$(basename "$src" .mvg)}
units=${4:-}
set -- $(head -n 1 "$src")
[ "$1" = viewbox ] || { echo "$src: first line must be 'viewbox 0 0 W H'" >&2; exit 1; }
width=$4
height=$5
zoom=1
if [ -n "$units" ]; then
  zoom=$(awk "BEGIN { print $units / $width }")
  height=$(( (height * units + width / 2) / width ))
  width=$units
fi
body=$(tail -n +2 "$src")
mkdir -p "$out"
for percent in 100 80 125 150 200 300; do
  w=$(( (width * percent + 50) / 100 ))
  h=$(( (height * percent + 50) / 100 ))
  scale=$(awk "BEGIN { printf \"%.4f\", $zoom * $percent / 100 }")
  if [ "$percent" = 100 ]; then file="$out/$name.png"; else file="$out/$name@$percent.png"; fi
  # Drawn 4 times as large without smoothing, then each 4x4 block averaged:
  # the renderer's own smoothing spills past a shape's edge (a quarter of a
  # pixel for a fill, a sixteenth after a stroke), where this gives every
  # pixel the share the shape covers, so an edge on a whole pixel is whole.
  # The sources put pixel edges on whole numbers; the renderer puts pixel
  # centres there, so the drawing moves half a pixel up and left.
  big=$(awk "BEGIN { printf \"%.4f\", 4 * $scale }")
  convert -size "$((w * 4))x$((h * 4))" xc:none +antialias -draw "affine $big 0 0 $big -0.5 -0.5
$body" -scale "${w}x${h}!" -define png:exclude-chunks=date,time "PNG32:$file"
done
