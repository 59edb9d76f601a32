#!/bin/sh
# Regenerates every bundled image in this folder from the drawings in icons/src and from the
# Tango icon theme installed by Debian. Nothing is downloaded.
#
#   apt-get install tango-icon-theme librsvg2-bin imagemagick
#   resources/generate.sh
set -eu

here=$(cd "$(dirname "$0")" && pwd)
cd "$here"

tango=/usr/share/icons/Tango
src=icons/src

for tool in rsvg-convert convert; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "generate.sh: $tool is missing (apt-get install librsvg2-bin imagemagick)" >&2
        exit 1
    }
done
[ -d "$tango/scalable" ] || {
    echo "generate.sh: $tango is missing (apt-get install tango-icon-theme)" >&2
    exit 1
}

mkdir -p icons/16 icons/24 icons/32 icons/48 icons/64

# tango_icon SIZE CONTEXT/NAME OUT: the theme's own bitmap where it has one at exactly this size
# (Tango's 16, 24 and 32 pixel images are drawn for their size), otherwise its SVG rendered at
# exactly this size.
tango_icon() {
    size=$1 name=$2 out=$3
    if [ -f "$tango/${size}x${size}/$name.png" ]; then
        cp "$tango/${size}x${size}/$name.png" "$out"
    else
        rsvg-convert -w "$size" -h "$size" "$tango/scalable/$name.svg" -o "$out"
    fi
}

for size in 32 48 64; do
    dir=icons/$size
    tango_icon "$size" actions/go-previous "$dir/arrow_left_$size.png"
    tango_icon "$size" actions/go-next "$dir/arrow_right_$size.png"
    tango_icon "$size" actions/go-home "$dir/home_$size.png"
    tango_icon "$size" apps/system-users "$dir/system-switch-user.png"
    tango_icon "$size" actions/system-log-out "$dir/application-exit.png"
    tango_icon "$size" apps/preferences-desktop-accessibility "$dir/wheelchair.png"
    rsvg-convert -w "$size" -h "$size" "$src/system-shutdown.svg" -o "$dir/system-shutdown.png"
    rsvg-convert -w "$size" -h "$size" "$src/system-reboot.svg" -o "$dir/system-reboot.png"
done

# The keyboard button is wide and drawn separately for each size, so that every key sits on whole pixels.
rsvg-convert "$src/keyboard-73x24.svg" -o icons/32/keyboard.png
rsvg-convert "$src/keyboard-98x32.svg" -o icons/48/keyboard.png
rsvg-convert "$src/keyboard.svg" -o icons/64/keyboard.png

for size in 16 24 32; do
    tango_icon "$size" status/dialog-error "icons/$size/dialog-block-$size.png"
done

# The progress spinner: twelve frames, each turned a further 30 degrees, 80 ms apiece, looping forever.
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
angle=0
while [ "$angle" -lt 360 ]; do
    frame=$(printf '%s/%03d' "$frames" "$angle")
    sed "/id=\"turn\"/s/rotate(0 32 32)/rotate($angle 32 32)/" "$src/progress.svg" >"$frame.svg"
    rsvg-convert -w 64 -h 64 "$frame.svg" -o "$frame.png"
    angle=$((angle + 30))
done
convert -delay 8 -loop 0 "$frames"/*.png -background white -alpha remove +dither progress.gif

echo "generate.sh: images written under $here"
