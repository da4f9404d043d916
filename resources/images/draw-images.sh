#!/bin/sh
# Regenerates every compiled-in image of the editor from scratch.
# All artwork is drawn here with ImageMagick primitives; nothing is imported.
# Icons are drawn at 4x size and box-filtered down (supersampled anti-aliasing).
# Metadata and time chunks are stripped so reruns give identical bytes.
#
# Usage: sh draw-images.sh        (run from any directory)
set -eu
cd "$(dirname "$0")"

FONTDIR=/usr/share/fonts/truetype/dejavu
FONT_BOLD="$FONTDIR/DejaVuSans-Bold.ttf"
[ -f "$FONT_BOLD" ] || FONT_BOLD=Helvetica-Bold

# Shared palette
INK='#37474f'        # outlines
BLUE='#2f80d1'
BLUE_D='#1f5fa6'
RED='#e0453a'
RED_D='#a82a22'
GREEN='#34a853'
GREEN_D='#23803d'
YELLOW='#f6c342'
YELLOW_D='#d9981f'
GREY='#b0bec5'
GREY_L='#eceff1'
WHITE='#ffffff'

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

OUT="-strip -define png:exclude-chunks=date,time"

# icon NAME SIZE  -- reads ImageMagick drawing options from the remaining args,
# applies them to a transparent canvas of 4*SIZE, then scales down to SIZE.
icon() {
    name=$1; size=$2; shift 2
    big=$((size * 4))
    convert -size ${big}x${big} xc:none "$@" \
        -filter Box -resize ${size}x${size} $OUT PNG32:"$name"
}

# ---------------------------------------------------------------- filenew
icon filenew.png 32 \
    -stroke "$INK" -strokewidth 5 \
    -fill "$WHITE" -draw "polygon 22,8 76,8 102,34 102,120 22,120 22,8" \
    -fill "$GREY_L" -draw "polygon 76,8 76,34 102,34" \
    -stroke "$GREY" -strokewidth 5 \
    -draw "line 36,52 84,52" -draw "line 36,66 76,66" -draw "line 36,80 60,80" \
    -stroke "$GREEN_D" -strokewidth 4 -fill "$GREEN" -draw "circle 94,94 94,124" \
    -stroke "$WHITE" -strokewidth 9 -draw "line 94,78 94,110" -draw "line 78,94 110,94"

# ---------------------------------------------------------------- fileopen
icon fileopen.png 32 \
    -stroke "$INK" -strokewidth 5 \
    -fill "$YELLOW_D" -draw "polygon 8,22 44,22 54,34 112,34 112,108 8,108" \
    -fill "$WHITE" -draw "polygon 22,44 98,44 98,90 22,90" \
    -stroke "$GREY" -strokewidth 4 -draw "line 32,56 86,56" -draw "line 32,68 80,68" \
    -stroke "$INK" -strokewidth 5 \
    -fill "$YELLOW" -draw "polygon 26,60 124,60 108,112 6,112"

# ---------------------------------------------------------------- floppy body
floppy="-stroke '$INK' -strokewidth 5 \
 -fill '$BLUE' -draw 'polygon 10,10 100,10 118,28 118,118 10,118' \
 -fill '$GREY_L' -draw 'rectangle 34,10 90,48' \
 -fill '$INK' -stroke none -draw 'rectangle 72,18 82,40' \
 -stroke '$INK' -strokewidth 5 -fill '$WHITE' -draw 'rectangle 26,66 102,118' \
 -stroke '$GREY' -strokewidth 4 -draw 'line 36,82 92,82' -draw 'line 36,96 92,96'"

eval "icon filesave.png 32 $floppy"

# ---------------------------------------------------------------- filesaveas
# Same floppy, shrunk into the upper left, with a pencil across the corner.
eval "convert -size 128x128 xc:none $floppy PNG32:$tmp/floppy.png"
convert -size 128x128 xc:none \
    \( "$tmp/floppy.png" -resize 96x96 \) -geometry +0+0 -composite \
    -stroke "$INK" -strokewidth 4 \
    -draw "translate 92,92 rotate -45 \
           fill '$YELLOW' polygon -22,-11 34,-11 34,11 -22,11 \
           fill '$RED' polygon 34,-11 46,-11 46,11 34,11 \
           fill '#f3d9b1' polygon -22,-11 -44,0 -22,11 \
           fill '$INK' polygon -36,-4 -44,0 -36,4" \
    -filter Box -resize 32x32 $OUT PNG32:filesaveas.png

# ---------------------------------------------------------------- exit (power)
icon exit.png 32 \
    -stroke "$RED_D" -strokewidth 5 -fill "$RED" -draw "circle 64,64 64,6" \
    -fill none -stroke "$WHITE" -strokewidth 12 \
    -draw "stroke-linecap round ellipse 64,68 32,32 -55,235" \
    -draw "stroke-linecap round line 64,26 64,62"

# ---------------------------------------------------------------- help
icon help.png 32 \
    -stroke "$BLUE_D" -strokewidth 5 -fill "$BLUE" -draw "circle 64,64 64,6" \
    -stroke none -fill "$WHITE" -font "$FONT_BOLD" -pointsize 96 \
    -gravity center -annotate +0+4 "?"

# ---------------------------------------------------------------- info
icon info.png 32 \
    -stroke "$BLUE_D" -strokewidth 5 -fill "$BLUE" -draw "circle 64,64 64,6" \
    -stroke none -fill "$WHITE" \
    -draw "circle 64,34 64,45" \
    -draw "roundrectangle 54,54 74,104 5,5" \
    -draw "rectangle 46,54 74,62" -draw "rectangle 46,96 82,104"

# ---------------------------------------------------------------- configure (gear)
gear=$(python3 - <<'EOF'
import math
cx = cy = 64.0
teeth = 8
r_out, r_in = 58.0, 44.0
pts = []
for k in range(teeth):
    a0 = 2 * math.pi * k / teeth
    step = 2 * math.pi / teeth
    # tooth: flat top, slanted flanks
    for frac, r in ((0.00, r_in), (0.12, r_out), (0.38, r_out), (0.50, r_in)):
        a = a0 + frac * step
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
print(" ".join("%.2f,%.2f" % p for p in pts))
EOF
)
convert -size 128x128 xc:none \
    -stroke "$INK" -strokewidth 5 -fill '#78909c' \
    -draw "polygon $gear" \
    -fill '#90a4ae' -draw "circle 64,64 64,30" \
    \( -size 128x128 xc:none -fill black -draw "circle 64,64 64,46" \) \
    -compose DstOut -composite -compose Over \
    -fill none -stroke "$INK" -strokewidth 5 -draw "circle 64,64 64,46" \
    -filter Box -resize 32x32 $OUT PNG32:configure.png

# ---------------------------------------------------------------- main (app icon, 48)
# Vending machine front: glass with shelves of goods, display, keypad,
# coin slot, receipt slot and pickup tray.  Drawn at 192 px.
goods=""
for row in 0 1 2; do
    y=$((40 + row * 36))
    x=32
    for col in 0 1 2 3; do
        case $(( (row + col) % 4 )) in
            0) c=$YELLOW ;; 1) c=$GREEN ;; 2) c=$RED ;; *) c='#ff8f3a' ;;
        esac
        goods="$goods -fill '$c' -draw 'roundrectangle $x,$y $((x + 14)),$((y + 22)) 3,3'"
        x=$((x + 22))
    done
    goods="$goods -fill '$INK' -draw 'rectangle 26,$((y + 23)) 120,$((y + 27))'"
done
eval "icon main.png 48 \
    -stroke '$INK' -strokewidth 6 \
    -fill '$BLUE' -draw 'roundrectangle 14,6 178,184 14,14' \
    -fill '#dff1fd' -draw 'rectangle 24,22 124,146' \
    -stroke none $goods \
    -fill '#ffffff80' -draw 'polygon 26,24 46,24 26,64' \
    -stroke '$INK' -strokewidth 6 -fill '$INK' -draw 'rectangle 24,156 124,172' \
    -fill '#263238' -draw 'rectangle 134,22 168,44' \
    -stroke none -fill '#7CFC7C' -draw 'rectangle 140,30 162,36' \
    -fill '$WHITE' \
    -draw 'circle 142,56 142,60' -draw 'circle 151,56 151,60' -draw 'circle 160,56 160,60' \
    -draw 'circle 142,67 142,71' -draw 'circle 151,67 151,71' -draw 'circle 160,67 160,71' \
    -stroke '$INK' -strokewidth 5 -fill '$GREY_L' -draw 'roundrectangle 136,84 166,116 4,4' \
    -fill '$INK' -stroke none -draw 'rectangle 149,90 153,110' \
    -stroke '$INK' -strokewidth 5 -fill '#263238' -draw 'rectangle 134,130 168,136' \
    -fill '$WHITE' -strokewidth 4 -draw 'polygon 138,133 164,133 164,160 158,156 152,160 146,156 138,160' \
    -stroke '$GREY' -strokewidth 3 -draw 'line 143,142 159,142' -draw 'line 143,149 155,149' \
    -stroke '$INK' -strokewidth 6 -fill '$INK' \
    -draw 'rectangle 26,184 42,188' -draw 'rectangle 150,184 166,188'"

# ---------------------------------------------------------------- wood
# Tileable grain from periodic sine rings plus seeded, tile-blurred fibres,
# mapped through a brown colour ramp.  Written as 8-bit palette images.
wood() {  # wood OUT LIGHT DARK RINGS
    convert -size 96x96 xc:gray50 -seed 1977 +noise Random -colorspace gray \
        -virtual-pixel tile -motion-blur 0x14+0 -motion-blur 0x14+180 \
        -auto-level "$tmp/fibre.png"
    convert -size 96x96 xc: \
        -fx "0.5+0.5*sin(2*pi*($4*j/h + 0.10*sin(2*pi*i/w) + 0.05*sin(2*pi*2*i/w + 2*pi*j/h) + 0.02*sin(2*pi*5*i/w)))" \
        "$tmp/rings.png"
    convert "$tmp/rings.png" "$tmp/fibre.png" -compose blend \
        -define compose:args=35,65 -composite -auto-level \
        \( -size 1x256 gradient:"$2"-"$3" \) -clut "$tmp/wood.png"
    cp "$tmp/wood.png" "$1"
}

wood "$tmp/btn.png" '#d9a066' '#9a5b2a' 5
# Raised button: light top/left bevel, dark bottom/right bevel.
convert "$tmp/btn.png" \
    -fill '#ffffff50' -draw "polygon 0,0 96,0 90,6 6,6 6,90 0,96" \
    -fill '#00000060' -draw "polygon 96,96 0,96 6,90 90,90 90,6 96,0" \
    -fill none -stroke '#4a2a12' -strokewidth 1 -draw "rectangle 0,0 95,95" \
    +dither -colors 128 $OUT PNG8:woodbutton.png

wood "$tmp/bg.png" '#b07a46' '#6e3f1e' 3
convert "$tmp/bg.png" +dither -colors 128 $OUT PNG8:woodbackground.png

# ---------------------------------------------------------------- delitem (palette)
convert -size 128x128 xc:none \
    -stroke "$RED_D" -strokewidth 34 \
    -draw "stroke-linecap round line 26,26 102,102 line 102,26 26,102" \
    -stroke "$RED" -strokewidth 22 \
    -draw "stroke-linecap round line 26,26 102,102 line 102,26 26,102" \
    -filter Box -resize 32x32 -channel A -threshold 50% +channel \
    +dither $OUT PNG8:delitem.png

# ---------------------------------------------------------------- table rows
grid="-stroke '$INK' -strokewidth 5 -fill '$WHITE' -draw 'rectangle 6,14 112,106' \
 -stroke none -fill '#bcd8f2' -draw 'rectangle 8,16 110,38' \
 -stroke '$INK' -strokewidth 4 \
 -draw 'line 6,38 112,38' -draw 'line 6,60 112,60' -draw 'line 6,82 112,82' \
 -draw 'line 42,14 42,106' -draw 'line 78,14 78,106'"

eval "icon newrow.png 32 $grid \
    -stroke '$GREEN_D' -strokewidth 4 -fill '$GREEN' -draw 'circle 94,94 94,124' \
    -stroke '$WHITE' -strokewidth 9 -draw 'line 94,78 94,110' -draw 'line 78,94 110,94'"

eval "icon delrow.png 32 $grid \
    -stroke '$RED_D' -strokewidth 4 -fill '$RED' -draw 'circle 94,94 94,124' \
    -stroke '$WHITE' -strokewidth 9 -draw 'line 78,94 110,94'"

# ---------------------------------------------------------------- taxarrow (16)
icon taxarrow.png 16 \
    -stroke "$BLUE_D" -strokewidth 4 -fill "$BLUE" \
    -draw "polygon 6,22 32,22 32,6 60,32 32,58 32,42 6,42"

# ---------------------------------------------------------------- undo, redo
# A curved arrow turning back to the left; redo is its mirror image.
undo_arrow="-fill none -stroke '$BLUE_D' -strokewidth 22 -draw 'path \"M 104,104 C 104,52 80,44 44,44\"' \
    -stroke '$BLUE' -strokewidth 12 -draw 'path \"M 104,104 C 104,52 80,44 44,44\"' \
    -stroke '$BLUE_D' -strokewidth 4 -fill '$BLUE' -draw 'polygon 8,44 50,12 50,76'"
eval "icon undo.png 32 $undo_arrow"
eval "icon redo.png 32 $undo_arrow -flop"
