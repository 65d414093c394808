#!/usr/bin/env bash
# Makes the README's screenshot from the real program: starts it under a
# virtual display (Xvfb, no window manager) with fresh settings, presses N
# from the introduction until the first tapping point of a session shows, and
# saves the main window as a PNG.
#
#   scripts/screenshot.sh [program] [output]   (default: build/serenitap, docs/screenshot.png)
#
# Needs xvfb, xauth, xdotool and imagemagick (scripts/setup.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/serenitap}
output=${2:-$root/docs/screenshot.png}
case "$program" in /*) ;; *) program="$PWD/$program" ;; esac
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac

if [ ! -x "$program" ]; then
  echo "screenshot: $program is not there; build the program first (make build)" >&2
  exit 1
fi
for tool in xvfb-run xdotool import convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshot: $tool is missing (run scripts/setup.sh)" >&2
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/serenitap-screenshot.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/runtime" "$(dirname "$output")"
chmod 700 "$work/runtime"

# Runs inside the virtual display.
cat >"$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
set -euo pipefail
program=$1 shot=$2 work=$3
# Fresh settings (no introduction window at start-up, the designed window
# size) and an instance lock of its own, so a running copy does not interfere.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
"$program" >"$work/program.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Serenitap$' | head -n 1)
if [ -z "$window" ]; then
  echo "screenshot: the main window did not appear" >&2
  cat "$work/program.log" >&2
  exit 1
fi
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
# Without a window manager the keyboard follows the mouse pointer: rest it
# on the window's bottom-left corner, clear of the buttons.
xdotool mousemove $((X + 4)) $((Y + HEIGHT - 4))
sleep 0.3
# Introduction -> thymus -> issue -> rating -> karate chop (left, right)
# -> the first tapping point.
for _ in 1 2 3 4 5; do
  xdotool key n
  sleep 0.4
done
sleep 0.2
# The current point's marker blinks about every tenth of a second, and the
# timer moves on to the next point after two seconds: take a few quick frames
# and keep the one that shows the most of the (red) marker.
for frame in 1 2 3 4 5 6; do
  import -window root "$work/frame-$frame.miff"
done
best=-1
for frame in 1 2 3 4 5 6; do
  convert "$work/frame-$frame.miff" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/frame-$frame.png"
  red=$(convert "$work/frame-$frame.png" -fuzz 20% -fill black +opaque '#ff0000' -format '%[fx:round(mean*w*h*3)]' info:)
  if [ "$red" -gt "$best" ]; then
    best=$red
    cp "$work/frame-$frame.png" "$shot"
  fi
done
if [ "$best" -le 0 ]; then
  echo "screenshot: no frame shows the tapping point's marker" >&2
  exit 1
fi
INSIDE
chmod +x "$work/inside.sh"

xvfb-run -a -s "-screen 0 1400x1000x24" "$work/inside.sh" "$program" "$work/shot.png" "$work"
# Without metadata (dates), so an unchanged window gives an unchanged file.
convert "$work/shot.png" -strip -define png:compression-level=9 "$output"
echo "screenshot: wrote $output ($(identify -format '%wx%h' "$output"))"
