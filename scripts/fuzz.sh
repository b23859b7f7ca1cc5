#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer, address and undefined-behaviour
# sanitizers) into build-fuzz/ and runs each for a bounded time, starting from
# its seed corpus in fuzz/corpus/<target>. New inputs gather in
# build-fuzz/corpus/<target>; a crash or broken invariant is saved in
# build-fuzz/findings/ and makes the script fail.
#
#   scripts/fuzz.sh [seconds per target] [target ...]     default: 20 s, every target
#   FUZZ_JOBS=2 scripts/fuzz.sh 3600 reply_fuzz           an hour on both cores
set -e
cd "$(dirname "$0")/.."
seconds=${1:-20}
[ $# -gt 0 ] && shift
targets="$*"
[ -n "$targets" ] || targets="doc_file_fuzz settings_fuzz reply_fuzz station_text_fuzz value_text_fuzz sim_frames_fuzz monitor_poll_fuzz"
jobs=${FUZZ_JOBS:-1}

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DKOLT_FUZZ=ON -DKOLT_BUILD_GUI=OFF \
      -DKOLT_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target kolt_fuzz_targets
mkdir -p build-fuzz/findings

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
status=0
for t in $targets; do
  work=build-fuzz/corpus/$t
  mkdir -p "$work"
  # Parameter files are 1801 bytes and more; the other inputs are short.
  case $t in
    doc_file_fuzz) maxlen=16384 ;;
    *) maxlen=512 ;;
  esac
  echo "== $t: $seconds s"
  if [ "$jobs" -gt 1 ]; then
    extra="-fork=$jobs"
  else
    extra=""
  fi
  if ! ./build-fuzz/fuzz/$t $extra -max_total_time="$seconds" -max_len=$maxlen -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$t-" "$work" "fuzz/corpus/$t" \
        > "build-fuzz/$t.log" 2>&1; then
    echo "!! $t found a fault:"
    tail -n 40 "build-fuzz/$t.log"
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$t.log" | sed 's/^/   /' || true
done
exit $status
