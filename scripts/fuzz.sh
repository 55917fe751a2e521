#!/usr/bin/env bash
# Builds the libFuzzer harnesses into build-fuzz/ (clang, core only) and runs each for SECONDS
# (default 60), one after another, on its corpus with the format's dictionary. Exits non-zero when
# any harness found a crash, leak, timeout or memory blow-up; its input is left in
# build-fuzz/fuzz-artifacts/<harness>/.
#   scripts/fuzz.sh [SECONDS]
# Environment: KORVANE_BUILD_LOCK names a lock file to hold while configuring and building (for
# machines where several builds share the cores); FUZZ_ONLY runs just the harnesses named in it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
build="$root/build-fuzz"

locked() {
  if [ -n "${KORVANE_BUILD_LOCK:-}" ]; then flock "$KORVANE_BUILD_LOCK" "$@"; else "$@"; fi
}

CC=clang CXX=clang++ locked cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANE_CORE_ONLY=ON -DKORVANE_FUZZ=ON -DKORVANE_BENCH=OFF >/dev/null
locked cmake --build "$build" -j2 --target fuzzers

# Seeds are copied fresh from the samples and fixtures on every run; what the fuzzer finds grows
# fuzz-corpus/ and is kept between runs.
seeds="$build/fuzz-seeds"
rm -rf "$seeds"
seed() { # seed <harness> <files...>: copies the files that exist
  local name="$1"
  shift
  mkdir -p "$seeds/$name"
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$seeds/$name/"; done
  return 0
}
fixture_seeds() { # earlier findings of the harness are seeds, too
  seed "$1" tests/fixtures/fuzz/"$1"-*
}
seed fuzz_document samples/*.kdf samples/*.sym tests/fixtures/*.sym
seed fuzz_zip_package samples/*.kdx
seed fuzz_packed_drawing samples/*.kdx
seed fuzz_png samples/*.png tests/fixtures/pictures/*.png
seed fuzz_jpeg tests/fixtures/pictures/*.jpg
seed fuzz_ordering_code
seed fuzz_ini
seed fuzz_datasheet_index
for h in fuzz_document fuzz_zip_package fuzz_packed_drawing fuzz_png fuzz_jpeg fuzz_ordering_code \
  fuzz_ini fuzz_datasheet_index; do
  fixture_seeds "$h"
done
python3 - "$seeds" <<'EOF'
import glob, io, os, re, sys, zipfile

seeds = sys.argv[1]
# The legacy variant of each drawing: the same text with a byte that is not UTF-8.
for f in sorted(glob.glob("samples/*.sym"))[:4]:
    with open(f, "rb") as src:
        data = src.read()
    with open(os.path.join(seeds, "fuzz_document", "legacy-" + os.path.basename(f)), "wb") as out:
        out.write(data.replace(b"End.\r\n", b"End.\r\nComment=\xe9\r\n", 1))
# A package of a drawing with its symbols, in folders, and one with a name that climbs out.
buf = io.BytesIO()
with zipfile.ZipFile(buf, "w", zipfile.ZIP_DEFLATED) as z:
    z.write("samples/check-valve.sym", "symbols/check-valve.sym")
    z.write("samples/orifice.sym", "plan/orifice.sym")
    z.writestr("readme.txt", "a package\n")
open(os.path.join(seeds, "fuzz_zip_package", "package.zip"), "wb").write(buf.getvalue())
buf = io.BytesIO()
with zipfile.ZipFile(buf, "w", zipfile.ZIP_STORED) as z:
    z.writestr("../outside.kdf", "Header:\r\nEnd.\r\n")
    z.writestr("plan.kdf", "Header:\r\nEnd.\r\n")
    z.writestr("~PrintPreview/page1.pdf", "%PDF-1.4\n")
open(os.path.join(seeds, "fuzz_zip_package", "climbing.zip"), "wb").write(buf.getvalue())
open(os.path.join(seeds, "fuzz_packed_drawing", "climbing.kdx"), "wb").write(buf.getvalue())
# The ordering-code blocks of the samples, each after a template made of its field sections.
n = 0
for f in sorted(glob.glob("samples/*.kdf")):
    text = open(f, encoding="utf-8", errors="replace").read()
    for m in re.finditer(r"FlexibleCode:\r?\n(.*?)EndFlexibleCode\.", text, re.S):
        body = m.group(1)
        fields = [s for s in re.findall(r"^\s*(\[[^\]\[]+\])", body, re.M)]
        n += 1
        with open(os.path.join(seeds, "fuzz_ordering_code", "sample-%d.txt" % n), "w") as out:
            out.write("K-" + "-".join(fields) + "\n" + body + "EndFlexibleCode.\r\n")
with open(os.path.join(seeds, "fuzz_ordering_code", "rules.txt"), "w") as out:
    out.write("XY10-[Size]-[Seal]x[[Size]x[Seal]]-[*Text]\n[Size]=M10\r\nM8=Size 8\r\nM10=Size 10||PMax=350\r\n"
              "[Seal]\r\nN=\r\nV=Viton\r\n[Size]+[Seal]\r\nM8=V\r\n[Size]&[Seal]\r\nM10=N\r\n"
              "[Size]^[Seal]\r\nM8;M10=N;V\r\n[[Size]x[Seal]]\r\nM8xV=||Weight=2\r\n[*Text]\r\n"
              "Description=Your text\r\nValue=abc\r\n[/Defaults/]\r\nA=||Price=0\r\n"
              "[/CodeList/]\r\nXY10-M10-N=NO||Price=1\r\n[/IPorts/]\r\nA=B\r\nEndFlexibleCode.\r\n")
with open(os.path.join(seeds, "fuzz_ini", "settings.ini"), "wb") as out:
    out.write(b"\xef\xbb\xbf; settings\r\nloose line\r\n[Window]\r\nLeft=10\r\nMaximized=1\r\n"
              b"Hex=0x1F\r\n[Recent Files]\r\nFile1=/home/a/plan.kdf\r\n  Key With Spaces = v \r\n"
              b"[window]\r\nleft=20\r\n[]\r\n=empty key\r\n")
with open(os.path.join(seeds, "fuzz_datasheet_index", "QuavLibrary__PDFs.Lib"), "wb") as out:
    out.write(b"\xef\xbb\xbf/kvfuzz/sheets/DV06.pdf\r\n/kvfuzz/more/pdf/sub/dv06.PDF\r\n"
              b"/kvfuzz/sheets/a/../b.pdf\r\n/etc/passwd\r\n")
with open(os.path.join(seeds, "fuzz_datasheet_index", "plain.Lib"), "wb") as out:
    out.write(b"/kvfuzz/sheets/one.pdf\n/kvfuzz/more/pdf/two.pdf\n")
EOF

# Largest input per harness: enough for the largest sample and then some.
declare -A max_len=(
  [fuzz_document]=131072 [fuzz_zip_package]=65536 [fuzz_packed_drawing]=65536 [fuzz_png]=65536
  [fuzz_jpeg]=65536 [fuzz_ordering_code]=16384 [fuzz_ini]=16384 [fuzz_datasheet_index]=65536)
harnesses=(fuzz_document fuzz_zip_package fuzz_packed_drawing fuzz_png fuzz_jpeg fuzz_ordering_code
  fuzz_ini fuzz_datasheet_index)
[ -n "${FUZZ_ONLY:-}" ] && read -r -a harnesses <<<"$FUZZ_ONLY"

failed=()
for h in "${harnesses[@]}"; do
  corpus="$build/fuzz-corpus/$h"
  artifacts="$build/fuzz-artifacts/$h"
  mkdir -p "$corpus" "$artifacts"
  log="$build/fuzz-logs/$h.log"
  mkdir -p "$(dirname "$log")"
  echo "== $h: ${seconds}s"
  status=0
  # Short allocation stacks and a small quarantine: with deep recursive readers, every new stack
  # and every freed block kept for checking add to the process size, which the long drawing runs
  # would otherwise take for a memory fault of the reader.
  ASAN_OPTIONS="detect_leaks=1:malloc_context_size=8:quarantine_size_mb=64:allocator_release_to_os_interval_ms=500" \
    UBSAN_OPTIONS="print_stacktrace=1" \
    nice -n 19 "$build/fuzz/$h" "$corpus" "$seeds/$h" -dict="$root/fuzz/korvane.dict" \
    -max_len="${max_len[$h]}" -rss_limit_mb=2048 -timeout=10 -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?
  # The last status line and the final counts.
  grep -E '^#[0-9]+' "$log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
  if [ "$status" -ne 0 ]; then
    echo "!! $h failed (exit $status); see $log and $artifacts"
    grep -E 'ERROR: |runtime error|SUMMARY' "$log" | head -n 5 || true
    failed+=("$h")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no findings"
