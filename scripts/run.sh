#!/usr/bin/env bash
# Builds the viewer and starts it on FILE, or on the bundled sample when no file is given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh"
viewer="$root/build/src/app/korvane-viewer"
file="${1:-$root/samples/pump-unit.kdf}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: the window needs one. To draw without a display: $viewer --render out.png \"$file\"" >&2
  exit 1
fi
exec "$viewer" "$file"
