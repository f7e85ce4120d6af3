#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./setup.sh play   installs what is needed, builds, and starts the game with its sample content
#   ./setup.sh test   installs what is needed, builds, and runs every test (plain and sanitized)
#   ./setup.sh bench  installs what is needed, builds, and runs the benchmarks (speed and load)
# JOBS=n limits the parallel build and test jobs (default: one per processor).
set -euo pipefail
cd "$(dirname "$0")"
JOBS=${JOBS:-$(nproc)}

PACKAGES=(build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev libfontconfig-dev libjpeg-dev libx11-dev
  libgtest-dev libgmock-dev fonts-liberation fonts-wine fluid-soundfont-gm
  xvfb xfonts-base xdotool x11-apps x11-utils openbox imagemagick xdg-utils python3 pulseaudio pulseaudio-utils)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {  # build <folder> [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS"
}

# The end-to-end checks play in real time against real X servers; on a busy machine one may miss
# its moment. A test that fails is run once more and fails the run only if it fails again, but
# every test that needed its second run is named at the end: a flake is a fault to look into.
# The names go to <folder>/retried.txt and <folder>/failed.txt, as the two trees' tests run at once.
run_tests() {  # run_tests <folder> [ctest options...]
  local dir=$1; shift
  local list="$dir/Testing/Temporary/LastTestsFailed.log"
  rm -f "$list"
  : >"$dir/retried.txt"
  : >"$dir/failed.txt"
  (cd "$dir" && ctest --output-on-failure -j"$JOBS" "$@") && return 0
  if [ ! -s "$list" ]; then
    echo "$dir: ctest itself" >>"$dir/failed.txt"
    return 0
  fi
  local first t
  mapfile -t first < <(cut -d: -f2- "$list")
  echo "setup.sh: ${#first[@]} failed in $dir, run once more: ${first[*]}"
  if (cd "$dir" && ctest --output-on-failure -j"$JOBS" "$@" --rerun-failed); then
    for t in "${first[@]}"; do echo "$dir: $t"; done >>"$dir/retried.txt"
    return 0
  fi
  for t in "${first[@]}"; do
    if grep -qx "[0-9]*:$t" "$list"; then echo "$dir: $t" >>"$dir/failed.txt"; else echo "$dir: $t" >>"$dir/retried.txt"; fi
  done
}

case "${1:-}" in
  play)
    install_packages
    build build
    [ -x build/norvalde ] || { echo "setup.sh: build/norvalde was not built" >&2; exit 1; }
    exec ./build/norvalde
    ;;
  test)
    install_packages
    # The sanitizer tree is built all along, in the processor time that the plain build and the
    # tests leave idle (the end-to-end checks mostly wait in real time), so that it never delays
    # them. It stays in this session: a session of its own would be a scheduling group of its own
    # beside the tests', which no priority inside it reaches below. Its own process group lets a
    # run cut short end all its compilers. It holds only what its tests need, at -O1 as the
    # sanitizers advise: it builds in little more than half the time, and its tests run as fast.
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORVALDE_SANITIZE=ON \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
    set -m
    chrt --idle 0 cmake --build build-sanitize -j"$JOBS" --target unit_tests </dev/null >build-sanitize/build.log 2>&1 &
    sanitize=$!
    set +m
    plain=""
    trap 'kill -- -"$sanitize" ${plain:+-"$plain"} 2>/dev/null || true' EXIT
    echo "setup.sh: build-sanitize is being built alongside (build-sanitize/build.log)"
    build build
    # The plain tests go on while the sanitizer tree is finished, and its unit tests run beside
    # the last end-to-end checks, which mostly wait; below their priority, so as not to slow them.
    set -m
    run_tests build -LE bench </dev/null &
    plain=$!
    set +m
    if ! wait "$sanitize"; then
      cat build-sanitize/build.log
      echo "setup.sh: the sanitizer build failed" >&2
      exit 1
    fi
    grep -A3 'warning:' build-sanitize/build.log || true
    ( renice -n 10 -p "$BASHPID" >/dev/null; run_tests build-sanitize -LE bench -E '^e2e_' ) \
      </dev/null >build-sanitize/tests.log 2>&1
    wait "$plain"
    echo "setup.sh: the unit tests under the sanitizers (build-sanitize/tests.log):"
    cat build-sanitize/tests.log
    mapfile -t retried < <(cat build/retried.txt build-sanitize/retried.txt)
    mapfile -t failed < <(cat build/failed.txt build-sanitize/failed.txt)
    if [ ${#retried[@]} -gt 0 ]; then
      echo "setup.sh: passed only on their second run (flaky, to be looked into):"
      printf '  %s\n' "${retried[@]}"
    fi
    if [ ${#failed[@]} -gt 0 ]; then
      echo "setup.sh: failed twice:" >&2
      printf '  %s\n' "${failed[@]}" >&2
      exit 1
    fi
    echo "setup.sh: all tests passed"
    ;;
  bench)
    install_packages
    build build
    (cd build && ctest --output-on-failure -V -L bench)
    ;;
  *)
    echo "usage: $0 play|test|bench" >&2
    exit 2
    ;;
esac
