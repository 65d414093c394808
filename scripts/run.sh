#!/usr/bin/env bash
# Starts the program when there is a display to show it on.
set -u
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Serenitap needs a graphical display: DISPLAY and WAYLAND_DISPLAY are not set (try: xvfb-run -a make run)." >&2
  exit 1
fi
exec "$@"
