#!/usr/bin/env bash
# Shows with a trivial run, which involves none of QuorvelML's code, that a
# tool a test step depends on runs on this machine. Exit 0 when it does;
# otherwise one line saying why it cannot run, and exit 1.
#   scripts/probe-tool.sh valgrind-octave   valgrind memcheck around octave-cli
#   scripts/probe-tool.sh octave-asan       octave-cli with the AddressSanitizer runtime preloaded
#   scripts/probe-tool.sh libfuzzer         clang++ builds and runs a libFuzzer binary
#   scripts/probe-tool.sh tsan              c++ builds and runs a ThreadSanitizer binary
#   scripts/probe-tool.sh python            Debian's python3 runs with numpy, pytest and tifffile
set -uo pipefail
tool=${1:?usage: probe-tool.sh valgrind-octave|octave-asan|libfuzzer|tsan|python}
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# The first line of a tool's complaint, for the reason.
first_complaint() {
  grep -m1 -E "$1" "$2" | sed -E 's/^==[0-9]+== //; s/^[[:space:]]+//' | cut -c1-160
}

cannot() {
  echo "$*"
  exit 1
}

# The shell's own note of a fatal signal goes to the output file too, and
# it repeats the command line: the answer looked for is one the command's
# text cannot contain, and the session must end with status 0.
octave_session() {
  { "$@" octave-cli --no-gui --norc --no-window-system --eval "printf('probe answer %d\\n', 6 * 7)"; } >out 2>&1
}

octave_answered() {
  [ "$1" -eq 0 ] && grep -q 'probe answer 42' out
}

case $tool in
  valgrind-octave)
    command -v valgrind >/dev/null || cannot "valgrind is not installed"
    preload=$("$root/tests/memcheck/valgrind-preload.sh" "$scratch" 2>out) ||
      cannot "the library preloaded under valgrind does not build: $(first_complaint . out)"
    octave_session env LD_PRELOAD="$preload" valgrind --tool=memcheck --log-file=log
    status=$?
    if ! octave_answered $status || ! grep -q 'ERROR SUMMARY' log; then
      reason=$(first_complaint 'unhandled instruction|Illegal|SIGILL|SIGSEGV|Fatal|error|cannot' log)
      cannot "valgrind cannot run octave-cli here (status $status${reason:+: $reason})"
    fi
    ;;
  octave-asan)
    runtime=$(c++ -print-file-name=libasan.so)
    [ -f "$runtime" ] || cannot "c++ has no AddressSanitizer runtime (libasan.so)"
    LD_PRELOAD=$runtime ASAN_OPTIONS=detect_leaks=0 octave_session env
    status=$?
    octave_answered $status ||
      cannot "octave-cli does not run with the AddressSanitizer runtime preloaded (status $status: $(first_complaint . out))"
    ;;
  libfuzzer)
    command -v clang++ >/dev/null || cannot "clang++ is not installed"
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >probe.cpp
    clang++ -fsanitize=fuzzer,address,undefined probe.cpp -o probe >out 2>&1 ||
      cannot "clang++ cannot build a libFuzzer binary: $(first_complaint 'error|cannot|not found' out)"
    { ./probe -runs=20; } >out 2>&1 || cannot "a trivial libFuzzer binary does not run: $(first_complaint . out)"
    ;;
  tsan)
    printf '%s\n' '#include <thread>' \
      'int main() { int value = 0; std::thread writer([&] { value = 1; }); writer.join(); return value == 1 ? 0 : 1; }' \
      >probe.cpp
    c++ -fsanitize=thread -pthread probe.cpp -o probe >out 2>&1 ||
      cannot "c++ cannot build a ThreadSanitizer binary: $(first_complaint 'error|cannot|not found' out)"
    { ./probe; } >out 2>&1 || cannot "a trivial ThreadSanitizer binary does not run: $(first_complaint . out)"
    ;;
  python)
    python=${QUORVEL_PYTHON:-/usr/bin/python3}
    [ -x "$python" ] || cannot "$python is not installed"
    { "$python" -c 'import numpy, pytest, tifffile; print("probe answer", 6 * 7)'; } >out 2>&1
    grep -q 'probe answer 42' out || cannot "$python lacks numpy, pytest or tifffile: $(first_complaint . out)"
    ;;
  *)
    cannot "no probe for '$tool'"
    ;;
esac
