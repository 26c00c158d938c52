#!/usr/bin/env bash
# Developer entry point: installs what is missing, builds, and acts.
#   ./dev.sh deps    install the Debian packages needed to build, test and package, and stop
#   ./dev.sh run     build and start the program
#   ./dev.sh test    build and run every test through ctest
#   ./dev.sh bench   build the benchmarks, run them and write BENCHMARKS.md
#   ./dev.sh asan    build with AddressSanitizer and UndefinedBehaviorSanitizer and run the tests
#   ./dev.sh fuzz    build the fuzz targets with clang and run each for a bounded time
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool xclip x11-utils dbus-daemon ccache
  desktop-file-utils appstream dpkg-dev file lintian shared-mime-info xdg-utils libglib2.0-bin
  groff-base python3 poppler-utils)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

jobs() { nproc 2>/dev/null || echo 2; }

# configure_and_build DIR CMAKE-OPTION... [--target TARGET...]
configure_and_build() {
  local dir=$1; shift
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != --target ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=(--target "$@")
  # Every option a command needs is given every time, so a folder configured otherwise before
  # (by hand, or by another command) can never build or test with stale settings.
  cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${options[@]}"
  cmake --build "$dir" -j"$(jobs)" "${targets[@]}"
}

run_tests() {
  local dir=$1
  # Widget tests draw off screen; the tests of real windows start their own X server. The suite
  # has a session bus of its own, so a Pelmora window already open on the desktop (or a second
  # suite running at the same time) cannot answer for the copies the tests start.
  QT_QPA_PLATFORM=offscreen dbus-run-session -- ctest --test-dir "$dir" --output-on-failure -j"$(jobs)" --timeout 300
}

cmd=${1:-}
case "$cmd" in
  deps)
    install_missing
    ;;
  run)
    install_missing
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_TESTS=ON
    exec ./build/pelmora
    ;;
  test)
    install_missing
    # The benchmarks are built (not run) with the tests, so that a change cannot break them
    # unnoticed.
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_TESTS=ON -DPELMORA_BENCH=ON
    run_tests build
    ;;
  bench)
    install_missing
    configure_and_build build-bench -DCMAKE_BUILD_TYPE=Release -DPELMORA_BENCH=ON -DPELMORA_TESTS=OFF
    # Versions the benchmarks' commands keep go to a folder of the run, not into your home.
    XDG_DATA_HOME=$(mktemp -d)
    export XDG_DATA_HOME
    trap 'rm -rf "$XDG_DATA_HOME"' EXIT
    for b in build-bench/*_bench; do
      [ "$(basename "$b")" = table_bench ] && continue
      echo "== $b"
      QT_QPA_PLATFORM=offscreen "$b" --benchmark_counters_tabular=true
    done
    # Every figure beside its floor, measured in one run: BENCHMARKS.md. Run it on a quiet
    # machine; the load average is written beside the figures.
    # A session bus of its own: a Pelmora window open on the desktop cannot refuse its copies.
    dbus-run-session -- python3 scripts/bench_table.py build-bench BENCHMARKS.md
    ;;
  asan)
    install_missing
    # The sanitizers watch the code that reads what users and other programs hand in: the data
    # file layer, the check and pelmora-check. The windows are left to the ordinary test run.
    configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DPELMORA_SANITIZE=ON \
      -DPELMORA_TESTS=ON -DPELMORA_BENCH=OFF --target store_tests check_tests cli_tests
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:verify_asan_link_order=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    for t in store_tests check_tests cli_tests; do
      echo "== $t"
      "build-asan/$t" --gtest_brief=1
    done
    ;;
  fuzz)
    install_missing clang libclang-rt-14-dev
    CC=clang CXX=clang++ configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPELMORA_FUZZ=ON -DPELMORA_TESTS=OFF
    seconds=${FUZZ_SECONDS:-60}
    for f in build-fuzz/fuzz_*; do
      [ -x "$f" ] || continue
      name=$(basename "$f")
      corpus=$(mktemp -d)
      cp -r "fuzz/corpus/${name#fuzz_}/." "$corpus/" 2>/dev/null || true
      echo "== $name for ${seconds}s"
      "$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$corpus"
      rm -rf "$corpus"
    done
    ;;
  *)
    echo "usage: $0 deps|run|test|bench|asan|fuzz" >&2
    exit 2
    ;;
esac
