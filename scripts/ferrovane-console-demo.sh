#!/usr/bin/env bash
# Drives Ferrovane's console front end as a user would: answers the warning, waits for the
# version on control 1022 and "Ready", then gives OK. Usage: ferrovane-console-demo.sh FERROVANE
set -euo pipefail
program=$1
coproc FV { FERROVANE_FRONTEND=console "$program"; }
exec 3>&"${FV[1]}"
seen_ready=0 seen_version=0
while IFS= read -r -t 60 line <&"${FV[0]}"; do
  echo "  < $line"
  case "$line" in
    BOX*) echo "  > ok"; echo ok >&3 ;;
    'TEXT 1010 "Ready"') seen_ready=1 ;;
    'TEXT 1022 ""') ;;
    'TEXT 1022 '*) seen_version=1 ;;
    END*) break ;;
  esac
  if ((seen_ready && seen_version)); then
    echo "  > command ok"; echo "command ok" >&3; seen_ready=0 seen_version=0
  fi
done
exec 3>&-
wait "$FV_PID" && echo "Ferrovane ended with exit status 0"
