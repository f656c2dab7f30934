# Sourced by the memory checks. our_reports <log> <separator regex> prints
# the reports of a valgrind or sanitizer log, the blocks between separator
# lines, that name the module's or the driver's code: one of its objects, or
# one of its source files. Octave's own reports are not the module's concern.
our_reports() {
  local root sources
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  sources=$(cd "$root" && ls -R common gateway camera acquisition simulator | grep -E '\.(cpp|h)$' | sed 's/\./\\./' | paste -sd'|')
  awk -v separator="$2" -v sources="[( /](${sources}):[0-9]+" '
    function report_if_ours() { if (block ~ /QuorvelML\.mex|QuorvelSim\.mex|libQuorvelDrv\.so/ || block ~ sources) print block "\n" }
    $0 ~ separator { report_if_ours(); block = ""; next }
                   { block = block "\n" $0 }
    END            { report_if_ours() }' "$1"
}
