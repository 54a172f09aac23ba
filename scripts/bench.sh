#!/bin/bash
# Builds and runs Dealwarden's benchmarks and prints their table:
#   scripts/bench.sh [options of the Wine benchmark, e.g. --games 60 --idle-seconds 10]
# "--dealwarden PATH" measures that Dealwarden.exe (a Unix path, or a Windows
# one on drive Z:) instead of this tree's, which is then not built: the same
# benchmark measures a build of an earlier commit and the current one.
# The native part (Google Benchmark: a save through the portable writer, an
# idle watcher tick) runs first; its figures go into the table the Wine part
# prints, which measures Dealwarden against a bare one-window program under
# the same Wine. Build trees: build/bench-native, build/bench-windows; the
# Wine session (its own Xvfb and wineserver) is stopped at the end.
# Needs libbenchmark-dev and jq beside what ./dw installs.
set -euo pipefail
root=$(dirname "$(dirname "$(realpath "$0")")")
native=$root/build/bench-native
windows=$root/build/bench-windows
state=$windows/bench-wine

for p in libbenchmark-dev jq; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    { echo "bench: needs $p (apt-get install libbenchmark-dev jq)" >&2; exit 1; }
done

zpath() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }
unixpath() {  # Z:\a\b or /a/b -> /a/b
  local p=$1
  [[ $p == [Zz]:* ]] && { p=${p:2}; p=${p//\\//}; }
  echo "$p"
}

# The options go to the Wine benchmark as given, a --dealwarden path spelled
# for Wine; the exe measured is stripped for the size row.
pass=()
dealwarden=""
while (($#)); do
  if [[ $1 == --dealwarden && $# -ge 2 ]]; then
    dealwarden=$(unixpath "$2")
    [[ -f $dealwarden ]] || { echo "bench: no such program: $2" >&2; exit 1; }
    pass+=(--dealwarden "$(zpath "$dealwarden")")
    shift 2
  else
    pass+=("$1")
    shift
  fi
done

echo "== building"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" -j2 --target dw_bench_native >/dev/null
cmake -S "$root" -B "$windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$windows" -j2 --target dw_bench_wine >/dev/null
if [[ -z $dealwarden ]]; then
  cmake --build "$windows" -j2 --target Dealwarden >/dev/null
  dealwarden=$windows/ui/Dealwarden.exe
fi

echo "== native (Google Benchmark, median of 5 repetitions)"
tmp=$native/bench-tmp
mkdir -p "$tmp"
json=$native/bench-native.json
(cd "$tmp" && DW_BENCH_DIR=$tmp "$native/bench/dw_bench_native" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json)
median() {  # benchmark name -> its median real time in its own unit
  jq -r --arg n "$1" '.benchmarks[] | select(.run_name == $n and .aggregate_name == "median") | .real_time' "$json"
}
args=(--native-ini-disk-ms "$(median IniWrite/portable/disk)"
  --native-tick-ns "$(median WatcherTick/idle)")
tmpfs=$(median IniWrite/portable/tmpfs)
[[ -n "$tmpfs" ]] && args+=(--native-ini-tmpfs-ms "$tmpfs")

stripped=$windows/bench-stripped
mkdir -p "$stripped"
x86_64-w64-mingw32-strip -o "$stripped/Dealwarden.exe" "$dealwarden"
x86_64-w64-mingw32-strip -o "$stripped/bench_floor.exe" "$windows/bench/bench_floor.exe"
args+=(--stripped-dealwarden "$(zpath "$stripped/Dealwarden.exe")"
  --stripped-floor "$(zpath "$stripped/bench_floor.exe")")

echo "== under Wine"
trap '"$root/cmake/wine-run.sh" "$state" --stop' EXIT
"$root/cmake/wine-run.sh" "$state" --start
# This session's wineserver, whose CPU the idle window also reports.
prefix=$(realpath -m "$state")/prefix
for p in /proc/[0-9]*; do
  [[ $(readlink "$p/exe" 2>/dev/null) == */wineserver* ]] || continue
  if tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
    args+=(--wineserver-stat "Z:\\proc\\${p#/proc/}\\stat")
    break
  fi
done

{
  echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')," \
    "$(free -g | awk '/^Mem:/ {print $2}') GiB memory, $(/usr/lib/wine/wine64 --version)"
  "$root/cmake/wine-run.sh" "$state" "$windows/bench/dw_bench_wine.exe" "${args[@]}" "${pass[@]}" </dev/null
} | sed -e 's/\r$//'
