#!/usr/bin/env bash
# Installs what Tapbook needs, builds it, and runs every test: the plain build, the Debian package,
# the AddressSanitizer + UndefinedBehaviorSanitizer build with a long soak of the whole program,
# a plain soak with a new seed each run, and a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/tapbook-xdg-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
jobs=$(nproc)
# Each stage says when it starts, in seconds since the script began: the whole must stay within
# CI's time on a 2-core machine.
stage() { echo "== $* (at ${SECONDS} s) =="; }

stage "Plain build and tests"
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$jobs"

stage "Debian package: build it, check its files and run what it installs"
bash scripts/check-package.sh

stage "Sanitizer build (ASan + UBSan) and tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAPBOOK_SANITIZE=ON \
      -DTAPBOOK_PREBAKED_DIR="$root/build/assets" >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

stage "Soak: the real program under seeded random pupil actions (ASan + UBSan)"
# A fixed seed keeps CI repeatable; TAPBOOK_SOAK_SEED explores others. A failure prints its seed
# and last actions to replay.
soak_seed="${TAPBOOK_SOAK_SEED:-20261209}"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  timeout 600 build-asan/tests/tapbook_soak --actions "${TAPBOOK_SOAK_ACTIONS:-20000}" --seed "$soak_seed"

stage "Soak with a seed new to every run (plain build: crashes, stalls, run-time errors, memory)"
# The seed is printed first; a failure replays with build/tests/tapbook_soak --actions N --seed S.
# Long enough for the memory rule (judged from 5,000 actions: resident memory may not grow by
# 5 MB between the first tenth and the end), short enough for a minute or two of CPU.
fresh_seed="${TAPBOOK_SOAK_FRESH_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}"
timeout 900 build/tests/tapbook_soak --actions "${TAPBOOK_SOAK_FRESH_ACTIONS:-20000}" --seed "$fresh_seed"

stage "ThreadSanitizer build of the test program: clip player threads, picture prefetch worker"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPBOOK_TSAN=ON \
      -DTAPBOOK_PREBAKED_DIR="$root/build/assets" >/dev/null
cmake --build build-tsan --target tapbook_tests
# The microphone tests run in a process of their own: after SDL's capture threads (not
# instrumented) have run, the analyser misreports the mixer's locked queue as a race. So it does
# after a test has started the program in a process of its own and then loaded SDL: those two
# tests, which watch no thread of ours, are left to the other builds.
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions="$root/tests/tsan.supp"
build-tsan/tests/tapbook_tests --gtest_filter='Audio*:PicturePrefetch*-AudioClips.EveryClipStartsWithin10Ms:AudioCapture*:AudioSdl.TheLibraryLoadsWithTheFirstSoundNotWithTheProgram:AudioSdl.TheProgramOpensItsSoundOnceTheWelcomeWindowIsUp'
build-tsan/tests/tapbook_tests --gtest_filter='AudioCapture*'

stage "Fuzz targets (clang, libFuzzer + ASan + UBSan)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPBOOK_FUZZ=ON \
      -DTAPBOOK_PREBAKED_DIR="$root/build/assets" >/dev/null
cmake --build build-fuzz --target fuzz_all
fuzz_seconds="${TAPBOOK_FUZZ_SECONDS:-20}"
for f in build-fuzz/fuzz/*_fuzz; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="build-fuzz/corpus/$name"; mkdir -p "$corpus"
  seeds="fuzz/seeds/${name%_fuzz}"
  echo "-- $name for ${fuzz_seconds}s"
  ASAN_OPTIONS=detect_leaks=1 "$f" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=0 "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) 2>&1 | tail -n 3
  test "${PIPESTATUS[0]}" -eq 0
done
echo "All test stages passed in ${SECONDS} s."
