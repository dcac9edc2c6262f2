#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and
# this machine lacks. Safe to run again: it installs nothing that is there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd g++ || need+=(g++)
have_cmd make || need+=(make)
have_cmd nm || need+=(binutils)
have_cmd python3 || need+=(python3)
have_cmd clang-format || need+=(clang-format)
have_pkg libgtest-dev || need+=(libgtest-dev)
# The source of the width and case tables, for the test that regenerates them.
[ -f /usr/share/unicode/UnicodeData.txt ] || need+=(unicode-data)
# libcurl for the host's live mode (the plug-in never links it).
have_pkg libcurl4-openssl-dev || need+=(libcurl4-openssl-dev)
# The sanitizer and fuzzing builds: clang, its sanitizer and libFuzzer
# runtimes, and the symbolizer that names the frames of a report.
have_cmd clang++ || need+=(clang)
have_pkg libclang-rt-14-dev || need+=(libclang-rt-14-dev)
have_cmd llvm-symbolizer || need+=(llvm)
# memcheck over the sample run; chattr for the read-only folder of the
# bad-input tests when they run as root.
have_cmd valgrind || need+=(valgrind)
have_cmd chattr || need+=(e2fsprogs)
# The benchmarks (bench/); with --plot (scripts/bench.sh), the plotting
# library of their report.
have_pkg libbenchmark-dev || need+=(libbenchmark-dev)
if [ "${1:-}" = --plot ]; then
  have_pkg python3-matplotlib || need+=(python3-matplotlib)
fi

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
