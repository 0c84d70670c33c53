#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick: round glossy flag buttons and the
# arrow for the tool bar (32 x 32, alpha), the program icon and the 366 x 50 banner.
# The tool bar strip and the banner are drawn again for 125, 150 and 200 % scaling
# (toolbar-150.bmp, banner-150.bmp, ...), each from the 256-pixel drawings, so that a
# large screen gets pictures as sharp as a small one.
# Run it after changing a drawing; the results are committed beside it.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
S=256  # drawing size; pictures are scaled down from it for smooth edges

# A flag drawing (SxS, opaque) made into a disc with a rim and a gloss.
disc() {  # flag.png out.png
  convert "$1" -alpha set \
    \( -size ${S}x${S} xc:none -fill white -draw "circle 128,128 128,6" \) \
    -compose DstIn -composite \
    \( -size ${S}x${S} xc:none -fill none -stroke 'rgba(0,0,0,0.45)' -strokewidth 8 -draw "circle 128,128 128,8" \) \
    -compose Over -composite \
    \( -size ${S}x${S} xc:none -fill 'rgba(255,255,255,0.55)' -draw "ellipse 128,78 88,56 0,360" \
       -blur 0x6 \) -compose Over -composite \
    \( -size ${S}x${S} radial-gradient:'rgba(0,0,0,0)-rgba(0,0,0,0.28)' \
       \( -size ${S}x${S} xc:none -fill white -draw "circle 128,128 128,6" \) -compose DstIn -composite \) \
    -compose Over -composite "$2"
}

bands() {  # out.png orientation colour...
  local out=$1 orientation=$2
  shift 2
  local n=$# i=0 args=()
  for colour in "$@"; do
    if [ "$orientation" = vertical ]; then
      args+=(-fill "$colour" -draw "rectangle $((i * S / n)),0 $(((i + 1) * S / n)),$S")
    else
      args+=(-fill "$colour" -draw "rectangle 0,$((i * S / n)) $S,$(((i + 1) * S / n))")
    fi
    i=$((i + 1))
  done
  convert -size ${S}x${S} xc:white "${args[@]}" "$out"
}

# United Kingdom
convert -size ${S}x${S} xc:'#012169' \
  -stroke white -strokewidth 52 -draw "line 0,0 $S,$S" -draw "line $S,0 0,$S" \
  -stroke '#C8102E' -strokewidth 18 -draw "line 0,0 $S,$S" -draw "line $S,0 0,$S" \
  -stroke none -fill white -draw "rectangle 100,0 156,$S" -draw "rectangle 0,100 $S,156" \
  -fill '#C8102E' -draw "rectangle 111,0 145,$S" -draw "rectangle 0,111 $S,145" \
  "$work/uk.png"
bands "$work/de.png" horizontal '#000000' '#DD0000' '#FFCE00'
bands "$work/fr.png" vertical '#0055A4' '#FFFFFF' '#EF4135'
bands "$work/nl.png" horizontal '#AE1C28' '#FFFFFF' '#21468B'
bands "$work/it.png" vertical '#009246' '#FFFFFF' '#CE2B37'
# Spain: red, yellow twice as high, red; the arms left of the centre
convert -size ${S}x${S} xc:'#AA151B' -fill '#F1BF00' -draw "rectangle 0,64 $S,192" \
  -fill '#AA151B' -draw "roundrectangle 62,92 106,156 10,10" \
  -fill '#F1BF00' -draw "rectangle 70,100 98,124" -fill '#C60B1E' -draw "rectangle 70,126 98,148" \
  -fill '#AD1519' -draw "rectangle 54,86 114,94" -fill '#C8B100' -draw "rectangle 50,96 58,160" -draw "rectangle 110,96 118,160" \
  "$work/es.png"
# Portugal: green two fifths, red three fifths; the sphere and shield on the border
convert -size ${S}x${S} xc:'#DA291C' -fill '#046A38' -draw "rectangle 0,0 102,$S" \
  -fill none -stroke '#FFE900' -strokewidth 10 -draw "circle 102,128 102,78" \
  -stroke none -fill white -draw "roundrectangle 80,100 124,160 8,8" \
  -fill '#DA291C' -draw "roundrectangle 86,106 118,154 6,6" \
  -fill '#002B7F' -draw "rectangle 96,118 108,142" "$work/pt.png"

# The arrow: blue, pointing right, its tail fading out to the left
convert -size ${S}x${S} xc:none -fill '#2A62C9' \
  -draw "polygon 40,104 150,104 150,56 232,128 150,200 150,152 40,152" \
  \( -size ${S}x${S} gradient:none-black -rotate 90 -flop \) -compose DstIn -composite \
  -fill 'rgba(255,255,255,0.4)' -compose Over -draw "polygon 150,64 220,128 150,128" \
  "$work/arrow-a.png"
convert "$work/arrow-a.png" \( -size ${S}x${S} xc:none -fill '#2A62C9' \
  -draw "polygon 150,56 232,128 150,200" \) -compose Over -composite "$work/arrow.png"

for flag in uk de fr nl it es pt; do disc "$work/$flag.png" "$work/$flag-disc.png"; done

# A length of the 100 % pictures at another scale, rounded as Windows scales the strips
# they fill.
at() {  # percent pixels
  echo $((($2 * $1 + 50) / 100))
}
# A type size at a scale, in points with decimals.
points() {  # percent points
  awk -v p="$1" -v s="$2" 'BEGIN { print s * p / 100 }'
}
# The file of a picture at a scale: the 100 % one keeps the plain name.
named() {  # stem percent
  if [ "$2" = 100 ]; then echo "$1.bmp"; else echo "$1-$2.bmp"; fi
}

for percent in 100 125 150 200; do
  # Tool bar pictures in picture-list order: UK, arrow, Germany, France, Netherlands,
  # Italy, Spain, Portugal
  flag=$(at $percent 32)
  i=0
  for name in uk-disc arrow de-disc fr-disc nl-disc it-disc es-disc pt-disc; do
    convert "$work/$name.png" -filter Lanczos -resize ${flag}x${flag} "PNG32:$work/toolbar-$i.png"
    i=$((i + 1))
  done
  # One strip of 32-bit pixels with alpha for the picture list.
  convert "$work"/toolbar-{0..7}.png +append +repage -define bmp:format=bmp4 -alpha on \
    "BMP:$(named toolbar $percent)"

  # The banner: 366 x 50 at 100 %, 24-bit; the line along its foot reaches the bottom
  # at every scale
  convert -size $(at $percent 366)x$(at $percent 50) xc:white \
    \( "$work/uk-disc.png" -resize $(at $percent 40)x$(at $percent 40) \) \
    -geometry +$(at $percent 10)+$(at $percent 5) -compose Over -composite \
    \( "$work/arrow.png" -resize $(at $percent 24)x$(at $percent 24) \) \
    -geometry +$(at $percent 54)+$(at $percent 13) -compose Over -composite \
    -font DejaVu-Sans-Bold -pointsize $(points $percent 24) -fill '#1F3F8F' \
    -annotate +$(at $percent 86)+$(at $percent 28) 'Parlivo' \
    -font DejaVu-Sans -pointsize $(points $percent 11) -fill '#5A6B8C' \
    -annotate +$(at $percent 88)+$(at $percent 43) 'English words as you type them' \
    -fill '#C6D3EF' -draw "rectangle 0,$(at $percent 48) $(at $percent 366),$(($(at $percent 50) - 1))" \
    -alpha off -type TrueColor "BMP3:$(named banner $percent)"
done

# The icon: the UK disc in five sizes
for size in 16 24 32 48 128; do
  convert "$work/uk-disc.png" -filter Lanczos -resize ${size}x${size} "PNG32:$work/icon-$size.png"
done
convert "$work"/icon-{16,24,32,48,128}.png Parlivo.ico
echo "pictures written"
