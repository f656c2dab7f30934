#!/usr/bin/env bash
# A tool that dies must not pass its probe: scripts/probe-tool.sh is run
# with a valgrind that writes its summary and then dies of SIGILL, as
# valgrind does where it meets an instruction it cannot decode. The
# shell's note of the signal repeats the command line.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
cat >"$fake/valgrind" <<'FAKE'
#!/bin/sh
for argument; do
  case $argument in --log-file=*) echo '==1== ERROR SUMMARY: 0 errors from 0 contexts' >"${argument#--log-file=}" ;; esac
done
kill -ILL $$
FAKE
chmod +x "$fake/valgrind"
if reason=$(PATH="$fake:$PATH" "$root/scripts/probe-tool.sh" valgrind-octave); then
  echo "probe: a valgrind that died of SIGILL passed"
  exit 1
fi
echo "probe: a valgrind that died of SIGILL is refused ($reason)"
