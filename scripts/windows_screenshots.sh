#!/usr/bin/env bash
# Takes the two pictures of the Windows build shown in the README, under wine
# in a virtual desktop on Xvfb: the progress window of the standard run
# (docs/windows-progress.png) and the error box of a fatal compile
# (docs/windows-error-box.png).
#
#   scripts/windows_screenshots.sh [WINDOWS_EXE]
#
# Needs what scripts/setup.sh windows installs, plus imagemagick, fonts-wine
# (the window frames' fonts) and fonts-liberation2: wine carries no MS Sans
# Serif at 24 points, and fontconfig gives Liberation Sans in its place, whose
# "Attendere" fits the label as the original's does.
set -euo pipefail
cd "$(dirname "$0")/.."
windows_exe=$(realpath "${1:-build-windows/scenario-compiler.exe}")
for tool in wine xvfb-run xdotool import convert; do
  command -v $tool >/dev/null || { echo "windows_screenshots: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
export WINEPREFIX="$work/wine prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1 || true  # only this script's prefix
  rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY
wineboot -i >/dev/null 2>&1 || true
# The caption and its buttons are drawn with Tahoma and Marlett.
cp /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

mkdir -p "$work/Scenario folder" "$work/fatal"
cp "$windows_exe" "$work/Scenario folder/"
# A source with an indicator board at 0 m, in cell 1 before the stamps: 1250.
wine "$windows_exe" export --dir "$work/fatal" --quiet
line="$work/fatal/Orvale_Varcona_linea.txt"
awk '{ print } /^\[cartelli\]/ { print "indicatori_vmax,  0,  140,  160,  160,  0,  140,  160,  160,  0\r" }' \
  "$line" >"$work/line.txt"
mv "$work/line.txt" "$line"
wineserver -w  # the next session sees the display

cat >"$work/shoot.sh" <<'SCRIPT'
set -u
work=$1
# The standard run, its window held up by the test hook long enough to be seen.
SCENARIO_COMPILER_HOLD_WINDOW=6 wine explorer /desktop=progress,360x260 \
  "$work/Scenario folder/scenario-compiler.exe" >/dev/null 2>&1 &
pid=$!
sleep 4
import -window root "$work/progress.png"
wait $pid
wineserver -w
# The fatal compile: the box waits for OK, which Return presses.
(cd "$work/fatal" && wine explorer /desktop=error,360x260 \
  "$work/Scenario folder/scenario-compiler.exe" compile --quiet >/dev/null 2>&1) &
pid=$!
sleep 4
import -window root "$work/error.png"
xdotool mousemove 180 130 key Return
wait $pid
SCRIPT
xvfb-run -a -s "-screen 0 360x260x24" bash "$work/shoot.sh" "$work"

# Each picture cut to its window with a margin of the desktop around it.
mkdir -p docs
for shot in progress:windows-progress error:windows-error-box; do
  picture="$work/${shot%%:*}.png"
  desktop=$(convert "$picture" -format '%[pixel:p{359,259}]' info:)
  convert "$picture" -bordercolor "$desktop" -border 1 -trim +repage -border 16 \
    "docs/${shot##*:}.png"
  echo "windows_screenshots: docs/${shot##*:}.png"
done
