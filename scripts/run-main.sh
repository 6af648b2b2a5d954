#!/usr/bin/env bash
# The main job on the simulated receiver: builds, starts receiver-sim on a pseudo-terminal, reads
# the receiver's version through the serial layer, runs the repair against it, then runs
# Ferrovane on the console front end.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=build ./scripts/setup.sh

work=$(mktemp -d)
sim_pid=
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; wait 2>/dev/null || true; }
trap cleanup EXIT

start_sim() {  # start_sim ARGS... : sets sim_pid and DEVICE_COM2
  cleanup
  ./build/receiver-sim/receiver-sim --trace "$work/trace.txt" --flash "$work/flash.bin" "$@" >"$work/sim.out" &
  sim_pid=$!
  for _ in $(seq 100); do grep -q '^PTY ' "$work/sim.out" 2>/dev/null && break; sleep 0.1; done
  export DEVICE_COM2=$(sed -n 's/^PTY //p' "$work/sim.out" | head -n1)
  echo "== simulated receiver on $DEVICE_COM2 ($*)"
}

start_sim
./build/updatetool/ferrovane-linkcheck

echo
start_sim --start-binary 57600
echo "== the receiver speaks SiRF binary at 57600: repair brings it back to NMEA"
./build/updatetool/ferrovane-linkcheck --repair || true

if [ -x ./build/updatetool/ui/Ferrovane ]; then
  echo
  start_sim
  echo "== Ferrovane on the console front end (line format: README, "Ferrovane on the console")"
  ./scripts/ferrovane-console-demo.sh ./build/updatetool/ui/Ferrovane
fi
