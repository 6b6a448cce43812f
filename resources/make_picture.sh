#!/usr/bin/env bash
# Paints the window's picture, image1.jpg: a 640 x 480 landscape at dusk
# (warm sky, a low sun, two ranges of hills and a meadow), made entirely by
# ImageMagick from gradients, seeded plasma fractals and noise. Run it again
# to remake the file:  bash resources/make_picture.sh
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

W=640
H=480

# Sky: deep blue at the top to a warm haze at the horizon, with a soft sun.
convert -size ${W}x${H} gradient:'#4f7fbf'-'#f6d9a8' "$work/sky.png"
convert -size ${W}x${H} xc:none -fill '#fff6dc' \
  -draw 'circle 455,215 455,243' -blur 0x3 \
  \( -size ${W}x${H} xc:none -fill '#ffe9b0c0' -draw 'circle 455,215 455,300' \
     -blur 0x40 \) -compose DstOver -composite "$work/sun.png"
convert "$work/sky.png" "$work/sun.png" -compose Over -composite \
  "$work/sky.png"
# Thin clouds: a seeded plasma, blurred, stretched flat, kept to its
# brightest parts and faded out towards the horizon.
convert -seed 1127 -size ${W}x${H} plasma:grey50-grey50 -colorspace Gray \
  -blur 0x6 -level 55%,85% -resize 100%x50% \
  \( -size ${W}x$((H / 2)) gradient:white-black \) -compose Multiply \
  -composite -compose Over -gravity north -background black \
  -extent ${W}x${H} \
  "$work/clouds_mask.png"
convert -size ${W}x${H} xc:'#fff4e4' "$work/clouds_mask.png" \
  -alpha off -compose CopyOpacity -composite -channel A -evaluate multiply 0.55 \
  +channel "$work/clouds.png"
convert "$work/sky.png" "$work/clouds.png" -compose Over -composite \
  "$work/sky.png"

# A hill range: everything below a skyline made of a few sine waves, filled
# with a plasma texture in shades between two colours. $1 name, $2 base
# height, $3 dark and $4 light colour, $5 seed.
hills() {
  local name=$1 base=$2 dark=$3 light=$4 seed=$5
  convert -size ${W}x${H} xc:black -fx \
    "j > ${base} - 34*sin(i/71+${seed}) - 17*sin(i/29+2*${seed}) \
     - 7*sin(i/11+3*${seed}) ? 1 : 0" \
    -blur 0x0.7 "$work/${name}_mask.png"
  convert -seed "$seed" -size ${W}x${H} plasma:grey50-grey50 \
    -colorspace Gray -blur 0x1.5 -auto-level +level-colors "$dark,$light" \
    "$work/${name}_fill.png"
  convert "$work/${name}_fill.png" "$work/${name}_mask.png" -alpha off \
    -compose CopyOpacity -composite "$work/${name}.png"
}
hills far 300 '#6f7fa3' '#a3aec8' 3
hills near 360 '#2f4a26' '#5f7f42' 7
hills meadow 430 '#4f6f22' '#9fb85a' 11

convert "$work/sky.png" \
  "$work/far.png" -compose Over -composite \
  "$work/near.png" -compose Over -composite \
  "$work/meadow.png" -compose Over -composite \
  -seed 42 -attenuate 0.2 +noise Gaussian \
  -quality 88 -sampling-factor 2x2 -strip image1.jpg
