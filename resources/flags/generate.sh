#!/bin/sh
# Regenerates the square country flags in this folder (24/, 32/, 48/, flags.gresource.xml and
# LICENSE-flag-icons.txt) from an installed copy of the npm package flag-icons and from our own
# drawings in src/. Nothing is downloaded: fetch the package first, outside the repository, e.g.
#
#   mkdir -p /tmp/flagwork && (cd /tmp/flagwork && npm install --no-save flag-icons)
#   apt-get install librsvg2-bin imagemagick
#   resources/flags/generate.sh /tmp/flagwork/node_modules/flag-icons
#
# Every size is rendered directly from the SVG at exactly that size, never scaled down from a
# bigger bitmap, and gets a faint 1-pixel darker frame so that mostly white flags (JP, CY, ...)
# still show their edge on the light panel.
set -eu

usage() {
    echo "usage: $0 FLAG-ICONS-FOLDER   (the installed package, e.g. node_modules/flag-icons)" >&2
    exit 2
}
[ $# -eq 1 ] || usage
[ -d "$1/flags/1x1" ] || {
    echo "generate.sh: $1/flags/1x1 not found; give the folder of the installed flag-icons package" >&2
    exit 1
}
pkg=$(cd "$1" && pwd)
square=$pkg/flags/1x1

here=$(cd "$(dirname "$0")" && pwd)
cd "$here"

for tool in rsvg-convert convert; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "generate.sh: $tool is missing (apt-get install librsvg2-bin imagemagick)" >&2
        exit 1
    }
done

# The flags the kiosk offers, by code (upper case). A drawing src/XX.svg of our own is used where
# there is one; otherwise the package's flags/1x1/xx.svg.
codes="AD AE AF AG AI AL AM AN AO AQ AR AS AT AU AW AX AZ BA BB BD BE BF BG BH BI BJ BL BM BN BO
BR BS BT BW BY BZ CA CC CD CF CG CI CK CL CM CN CO CR CU CV CW CX CY CZ DE DJ DK DM DO DZ EC EE
EG EH ER ES ET EU FI FJ FK FM FO FR GA GB GD GE GG GH GI GL GM GN GQ GR GS GT GU GW GY HK HN HR
HT HU CH IC ID IE IL IM IN IQ IR IS IT JE JM JO JP KE KG KH KI KM KN KP KR KW KY KZ LA LB LC LI
LK LR LS LT LU LV LY MA MC MD ME MF MG MH MK ML MM MN MO MP MQ MR MS MT MU MV MW MX MY MZ NA NC
NE NF NG NI NL NO NP NR NU NZ OM PA PE PF PG PH PK PL PN PR PS PT PW PY QA RO RS RU RW SA SB SC
SD SE SG SH SI SK SL SM SN SO SR SS ST SV SY SZ TC TD TF TG TH TJ TK TL TM TN TO TR TT TV TW TZ
UA UG US UY UZ VA VC VE VG VI VN VU WF WS YE YT ZA ZM ZW"
sizes="24 32 48"

# Darkness of the frame: black at this opacity over the outermost ring of pixels.
frame_opacity=0.22

svg_for() {
    if [ -f "src/$1.svg" ]; then
        echo "src/$1.svg"
    else
        echo "$square/$(echo "$1" | tr '[:upper:]' '[:lower:]').svg"
    fi
}

missing=0
for code in $codes; do
    svg=$(svg_for "$code")
    [ -f "$svg" ] || { echo "generate.sh: no drawing for $code ($svg)" >&2; missing=1; }
done
[ "$missing" -eq 0 ] || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for size in $sizes; do
    mkdir -p "$size"
    inner=$((size - 2))
    convert -size "${inner}x${inner}" xc:none -bordercolor "rgba(0,0,0,$frame_opacity)" \
        -compose Copy -border 1 "$work/frame$size.png"
    for code in $codes; do
        rsvg-convert -w "$size" -h "$size" "$(svg_for "$code")" -o "$work/flag.png"
        # -strip and no time chunks: the same input gives byte-for-byte the same file.
        convert "$work/flag.png" "$work/frame$size.png" -composite -strip \
            -define png:exclude-chunks=date,time "PNG32:$size/$code.png"
    done
done

# The resource file: loaded as :/flags/24/DE.png and so on.
{
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<gresources>'
    echo '  <gresource prefix="/plintor">'
    for size in $sizes; do
        for code in $(echo "$codes" | tr ' ' '\n' | sort); do
            echo "    <file alias=\"flags/$size/$code.png\">$size/$code.png</file>"
        done
    done
    echo '  </gresource>'
    echo '</gresources>'
} >flags.gresource.xml

cp "$pkg/LICENSE" LICENSE-flag-icons.txt

version=$(sed -n 's/^ *"version": *"\([^"]*\)".*/\1/p' "$pkg/package.json" | head -n 1)
echo "generate.sh: rendered $(echo "$codes" | wc -w) flags at $sizes px from flag-icons $version"
echo "generate.sh: if that version differs from the one named in README.md, update README.md"
