#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs each for
# a bounded time: tools/fuzz.sh [SECONDS per target, default 60]. Corpora grow in
# build-fuzz/corpus/<target>/ (seeded from fuzz/corpus/<target>/ when present);
# a crash leaves its input as build-fuzz/crash-* and makes the script fail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}

bash "$root/tools/apt-install.sh" clang libfuzzer-14-dev

build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUINTARA_FUZZ=ON -DQUINTARA_WINDOW=OFF >/dev/null
targets=()
for src in "$root"/fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

failed=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  seeds=()
  if [ -d "$root/fuzz/corpus/$t" ]; then seeds+=("$root/fuzz/corpus/$t"); fi
  echo "== $t: $seconds s"
  if ! (cd "$build" && ASAN_OPTIONS=detect_leaks=1 "./fuzz/$t" -max_total_time="$seconds" -max_len=65536 \
        -print_final_stats=1 "$corpus" "${seeds[@]}"); then
    echo "== $t: Fehler gefunden (Eingabe in $build/crash-*)"
    failed=1
  fi
done
exit $failed
