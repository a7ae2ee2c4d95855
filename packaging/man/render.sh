#!/usr/bin/env bash
# Renders each program's manual page with man -l; a troff warning fails.
#   render.sh PROGRAM...
set -euo pipefail
cd "$(dirname "$0")"
for program in "$@"; do
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$program.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$program.1: $warnings" >&2; exit 1; }
  MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$program.1" | grep -q "^NAME" ||
    { echo "$program.1 does not render" >&2; exit 1; }
  echo "$program.1 renders"
done
