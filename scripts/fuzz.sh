#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, ASan + UBSan, in build-fuzz) and runs each for N
# seconds (default 60): scripts/fuzz.sh [seconds] [harness...]. Seeds are the hand-made files
# in fuzz/corpus/<harness>/ plus, when a normal build has made them, the generated data in
# build/stage/. Exits non-zero on any finding; findings are kept in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh fuzz
root=$(pwd)
seconds=${1:-60}
shift || true
jobs=${FUZZ_BUILD_JOBS:-2}
build=$root/build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DDEMO_SANITIZE=ON -DDEMO_BUILD_FUZZ=ON -DDEMO_BUILD_TESTS=OFF \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null

if [ $# -gt 0 ]; then
  harnesses=("$@")
else
  mapfile -t harnesses < <(cmake --build "$build" --target help | sed -n 's/^\.\.\. fuzz_\([a-z0-9_]*\).*/\1/p' | sort)
fi
if [ ${#harnesses[@]} -eq 0 ]; then
  echo "fuzz.sh: no harnesses configured" >&2
  exit 1
fi
targets=()
for h in "${harnesses[@]}"; do targets+=("fuzz_$h"); done
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

# Seeds from the generated data, with the harness's parameter bytes in front. Only the
# smaller files: a large seed makes every mutation of it slow.
stage=$root/build/stage
u16le() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
add_stage_seeds() {
  local harness=$1 dir=$2 f w h size
  [ -d "$stage" ] || return 0
  case $harness in
    pcx)  # no scale; target and picture at the size the header gives
      find "$stage" -iname '*.pcx' -size -64k | sort | while read -r f; do
        read -r x0 y0 x1 y1 < <(od -An -tu2 -j4 -N8 "$f")
        w=$((x1 - x0 + 1)); h=$((y1 - y0 + 1))
        size=$(u16le $w)$(u16le $h)
        { printf "\\x00$size$size"; cat "$f"; } > "$dir/stage-$(basename "$f")"
      done ;;
    jpeg)  # asked for at 256x256 into a 128x128 target
      find "$stage" -iname '*.jpg' -size -64k | sort | while read -r f; do
        { printf '\xff\xff\x7f\x7f'; cat "$f"; } > "$dir/stage-$(basename "$f")"
      done ;;
    lwo)
      find "$stage" -iname '*.lwo' -size -256k | sort | while read -r f; do
        { printf '\x10\x20\x30\x09'; cat "$f"; } > "$dir/stage-$(basename "$f")"
      done ;;
    sync)  # the timeline's eleven parts
      find "$stage" -maxdepth 1 -iname '*.snc' | while read -r f; do
        { printf '\x0b'; cat "$f"; } > "$dir/stage-$(basename "$f")"
      done ;;
    music) ;;  # the generated MP3 is megabytes: too slow a seed; the hand-made ones stand in
  esac
}

# The harnesses run side by side, one a core (each fuzzer uses one): FUZZ_JOBS sets how many.
run_harness() {
  local h=$1 work=$build/corpus/$1 seeds=$build/seeds/$1 findings=$build/findings/$1
  mkdir -p "$work" "$seeds" "$findings"
  rm -f "$seeds"/* "$findings"/*
  if [ -d fuzz/corpus/$h ]; then cp fuzz/corpus/$h/* "$seeds"/ 2>/dev/null || true; fi
  add_stage_seeds "$h" "$seeds"
  echo "== fuzz_$h: $seconds s" >&2
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1} \
  UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
  "$build/fuzz/fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "$seeds" >"$build/fuzz_$h.log" 2>&1
}
parallel=${FUZZ_JOBS:-$(nproc)}
running=()
for h in "${harnesses[@]}"; do
  if [ ${#running[@]} -ge "$parallel" ]; then
    wait "${running[0]}" || true
    running=("${running[@]:1}")
  fi
  (rc=0; run_harness "$h" || rc=$?; echo $rc >"$build/fuzz_$h.status") &
  running+=($!)
done
wait

status=0
summary=()
for h in "${harnesses[@]}"; do
  log=$build/fuzz_$h.log
  findings=$build/findings/$h
  rc=$(cat "$build/fuzz_$h.status" 2>/dev/null || echo "?")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  found=$(find "$findings" -type f | wc -l)
  if [ "$rc" != 0 ] || [ "$found" -ne 0 ]; then
    status=1
    summary+=("fuzz_$h: ${runs:-?} executions, FINDING (exit $rc; see $log and $findings)")
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -n 20 >&2 || true
  else
    summary+=("fuzz_$h: ${runs:-?} executions, no finding")
  fi
done
printf "%s\n" "${summary[@]}"
exit $status
