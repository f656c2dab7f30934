#!/usr/bin/env bash
# Checks that the simulator's files include one way only. A file and its
# header of the same name are one unit; the layers of units, top first, are
# the block that follows the line "<!-- simulator layers -->" in
# docs/simulator.md (one layer a line, names with * as shell patterns).
# A unit includes only units of its own layer or lower ones, no units
# include each other in a circle, every unit has a layer, and only the
# MEX's units (mex/) include mex.h. Prints what breaks the order and exits
# 1 when something does.
#   scripts/check-simulator-includes.sh [source root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root/simulator" || exit 2

mapfile -t layers < <(sed -n '/^<!-- simulator layers -->$/,/^```$/p' "$root/docs/simulator.md" |
  grep -v '^<!--\|^```')
[ "${#layers[@]}" -gt 0 ] || { echo "docs/simulator.md: no simulator layers"; exit 2; }

rank_of() {  # the layer's rank counted from the bottom; -1 when none
  local i pattern patterns
  for i in "${!layers[@]}"; do
    read -ra patterns <<<"${layers[$i]}"
    for pattern in "${patterns[@]}"; do
      # shellcheck disable=SC2053  # the pattern is meant to match as one
      [[ $1 == $pattern ]] && { echo $(( ${#layers[@]} - i )); return; }
    done
  done
  echo -1
}

broken=0
edges=()
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"${rest#*:}")
  unit=${file%%.*}
  why=""
  if [ "$included" = mex.h ]; then
    [[ $unit == mex/* ]] || why="mex.h belongs to the MEX's files (mex/)"
  elif [[ $included != driver/* ]]; then
    if [ -f "$(dirname "$file")/$included" ]; then
      target=$(dirname "$file")/${included%.h}
    else
      target=${included%.h}
    fi
    target=${target#./}
    if [ ! -f "$target.h" ]; then
      why="not a header of the simulator"
    elif [ "$target" != "$unit" ]; then
      edges+=("$unit $target")
      [ "$(rank_of "$target")" -gt "$(rank_of "$unit")" ] && why="$target is in a layer above $unit"
    fi
  fi
  if [ -n "$why" ]; then
    echo "simulator/$file:$line: includes $included: $why"
    broken=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' .  | sed 's|^\./||')

while IFS= read -r file; do
  unit=${file%%.*}
  if [ "$(rank_of "$unit")" -lt 0 ]; then
    echo "simulator/$file: $unit has no layer in docs/simulator.md"
    broken=1
  fi
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

if ! printf '%s\n' "${edges[@]}" | tsort >/dev/null 2>"${TMPDIR:-/tmp}/simulator-includes.$$"; then
  echo "simulator: units include each other in a circle:"
  cat "${TMPDIR:-/tmp}/simulator-includes.$$"
  broken=1
fi
rm -f "${TMPDIR:-/tmp}/simulator-includes.$$"
exit "$broken"
