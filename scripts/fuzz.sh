#!/bin/bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build/fuzz and runs
# each for the given seconds (default 20):
#   settings_fuzz  any bytes as the settings file, read, saved, read again
#   integer_fuzz   the stored-integer and Boolean rules
#   scripts/fuzz.sh [SECONDS] [extra libFuzzer options...]
# New inputs go to build/fuzz/corpus-<target>; the seeds in fuzz/corpus stay
# as they are. A finding stops with a non-zero exit and leaves its input in
# build/fuzz/ (crash-*, leak-*, timeout-*).
set -euo pipefail
root=$(dirname "$(dirname "$(realpath "$0")")")
seconds=${1:-20}
shift || true
out=$root/build/fuzz
mkdir -p "$out"
CXX=${CXX_FUZZ:-clang++}
record=(record/settings.cpp record/portable_profile.cpp record/app_error.cpp record/game_record.cpp)

build() {  # target
  local srcs=("$root/fuzz/$1.cpp" "${record[@]/#/$root/}")
  if [[ -x $out/$1 ]] && [[ -z $(find "${srcs[@]}" "$root"/record/*.h "$0" -newer "$out/$1") ]]; then
    return
  fi
  echo "building $out/$1"
  "$CXX" -std=c++20 -g -O2 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "${srcs[@]}" -o "$out/$1"
}

# Each settings input is read and saved value by value, hundreds of small
# allocations: a small quarantine keeps ASan from touching fresh pages for each.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:max_malloc_fill_size=0}
cd "$out"
for target in settings_fuzz integer_fuzz; do
  build "$target"
  mkdir -p "corpus-$target"
  echo "== $target, $seconds s"
  "./$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -dict="$root/fuzz/settings.dict" -print_final_stats=1 "$@" \
    "corpus-$target" "$root/fuzz/corpus"
done
