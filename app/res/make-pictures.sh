#!/usr/bin/env bash
# Remakes the setup's pictures (splash, detection banner, program icon) with
# ImageMagick and the DejaVu fonts. The results are kept in the repository, so
# the build needs neither; run this only to change the artwork.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
light=/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf
book=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
deep='#0b2545' mid='#13315c' teal='#1b998b' pale='#8da9c4' ice='#eef4ed'

# Splash, 640 x 480: a night-blue field, a band of "machines" as rounded
# squares joined by lines, the product's name, what it does and the vendor.
convert -size 640x480 "gradient:$mid-$deep" \
  -fill none -stroke "$teal" -strokewidth 2 \
  -draw "line 70,150 190,110" -draw "line 190,110 310,150" -draw "line 310,150 430,110" -draw "line 430,110 550,150" \
  -stroke "$pale" -strokewidth 1 \
  -draw "line 0,300 640,300" \
  -stroke none -fill "$teal" \
  -draw "roundrectangle 50,130 90,170 6,6" -draw "roundrectangle 170,90 210,130 6,6" \
  -draw "roundrectangle 290,130 330,170 6,6" -draw "roundrectangle 410,90 450,130 6,6" \
  -draw "roundrectangle 530,130 570,170 6,6" \
  -fill "$deep" \
  -draw "rectangle 58,138 82,156" -draw "rectangle 178,98 202,116" -draw "rectangle 298,138 322,156" \
  -draw "rectangle 418,98 442,116" -draw "rectangle 538,138 562,156" \
  -fill "$ice" -font "$bold" -pointsize 72 -annotate +48+272 'quorvane' \
  -fill "$pale" -font "$book" -pointsize 17 -annotate +52+334 'Hardware and software inventory for your organisation' \
  -fill "$ice" -font "$light" -pointsize 15 -annotate +52+362 'Client / server  ·  Microsoft SQL Server' \
  -fill "$teal" -draw "rectangle 0,440 640,480" \
  -fill "$ice" -font "$bold" -pointsize 16 -annotate +52+466 'Brantel Sukma Teknika' \
  -fill "$deep" -font "$book" -pointsize 13 -gravity SouthEast -annotate +24+14 'Setup is starting...' \
  -quality 85 -sampling-factor 4:2:0 -strip splash.jpg

# Detection banner, 250 x 370: the same colours standing upright.
convert -size 250x370 "gradient:$deep-$mid" \
  -stroke none -fill "$teal" -draw "rectangle 0,0 250,8" \
  -fill none -stroke "$teal" -strokewidth 2 -draw "line 60,80 125,50" -draw "line 125,50 190,80" \
  -stroke none -fill "$teal" \
  -draw "roundrectangle 40,70 80,110 6,6" -draw "roundrectangle 105,30 145,70 6,6" -draw "roundrectangle 170,70 210,110 6,6" \
  -fill "$deep" -draw "rectangle 48,78 72,96" -draw "rectangle 113,38 137,56" -draw "rectangle 178,78 202,96" \
  -fill "$ice" -font "$bold" -pointsize 38 -gravity North -annotate +0+150 'quorvane' \
  -fill "$pale" -font "$book" -pointsize 13 -annotate +0+205 'looking for an earlier' -annotate +0+224 'installation' \
  -stroke "$pale" -strokewidth 1 -draw "line 40,262 210,262" -stroke none \
  -fill "$ice" -font "$light" -pointsize 12 -gravity South -annotate +0+40 'Brantel Sukma Teknika' \
  -quality 85 -sampling-factor 4:2:0 -strip banner.jpg

# Program icon: a teal "q" on a rounded night-blue square, three sizes.
for s in 16 32 48; do
  convert -size ${s}x${s} xc:none -fill "$deep" -draw "roundrectangle 0,0 $((s-1)),$((s-1)) $((s/5)),$((s/5))" \
    -fill "$teal" -font "$bold" -pointsize $((s*3/4)) -gravity Center -annotate +0-$((s/10)) 'q' "icon-$s.png"
done
convert icon-16.png icon-32.png icon-48.png setup.ico
rm -f icon-16.png icon-32.png icon-48.png
