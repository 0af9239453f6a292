#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle cost of the control program: runs tavrin against rigsim for a while with nothing to do
# and reports the CPU time it used and how often it woke up.
#   bash bench/idle_probe.sh [seconds] [build-dir]
# Goal: under 0.2 % of one core while idle.
set -euo pipefail
seconds=${1:-30}
build=$(cd "${2:-$(dirname "$0")/../build}" && pwd)
work=$(mktemp -d)
trap 'kill $tavrin $rigsim 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
printf 'KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n[CallSign] N0CALL\r\n[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n \r\nEND\r\n' > KESTRA.INI
: > KESTRA.TXT
"$build/bin/rigsim" --headless > rigsim.log 2>&1 &
rigsim=$!
for _ in $(seq 50); do [ -e com1 ] && break; sleep 0.1; done
QT_QPA_PLATFORM=offscreen "$build/bin/tavrin" > tavrin.log 2>&1 &
tavrin=$!
sleep 5  # splash and start-up synchronisation
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { awk '/ctxt_switches/ {s += $2} END {print s}' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)
t0=$(ticks $tavrin); w0=$(switches $tavrin)
sleep "$seconds"
t1=$(ticks $tavrin); w1=$(switches $tavrin)
awk -v t=$((t1 - t0)) -v w=$((w1 - w0)) -v s="$seconds" -v hz="$hz" 'BEGIN {
  cpu = t / hz
  printf "idle for %d s: CPU %.3f s (%.3f %% of one core), %.1f wakeups a second\n", s, cpu, 100 * cpu / s, w / s
  exit (100 * cpu / s < 0.2) ? 0 : 1
}'
