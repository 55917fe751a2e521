#!/usr/bin/env bash
# Builds everything and runs every test: the layering check, the full build under a virtual
# display, then the core (every layer below qt/) and its tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a minute of fuzzing for each reader of outside data.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh

# Includes only go down the layers, and nothing below qt/ includes Qt.
python3 scripts/check-layers.py

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2

# Parameters and locals follow the one naming convention of .clang-tidy.
bash scripts/check-naming.sh build

# The real-window tests need an X server; start one when none is there.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

ctest --test-dir build --output-on-failure -j2

# The Debian package: built, installed into a throw-away root and tried there.
bash scripts/check-package.sh build

# Sanitizer build of the Qt-free core (packages included) and its tests.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_CORE_ONLY=ON -DKORVANE_SANITIZE=ON \
  -DKORVANE_BENCH=OFF >/dev/null
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j2

# Every reader of outside data under libFuzzer for about a minute each (clang, ASan and UBSan):
# documents (painted and clicked too), packages, archives, pictures, ordering codes, INI files
# and the datasheet index. Any crash, leak or hang fails the run.
bash scripts/fuzz.sh 60
