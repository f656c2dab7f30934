#!/usr/bin/env bash
# Checks that the module's folders include one way only, each layer the
# ones below it and never one above:
#   gateway -> acquisition -> camera -> driver -> common
# Only gateway/ includes mex.h, and a name without a folder must be a file
# beside the one including it (so no header is reached through another
# target's include folder, the simulator's above all). Prints every
# include that breaks the order and exits 1 when there is one.
#   scripts/check-layers.sh [source root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
layers=(common driver camera acquisition gateway)  # bottom first

rank_of() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

broken=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/' <<<"${rest#*:}")
  layer=${file%%/*}
  # A system header in angle brackets is none of ours; one that names a
  # folder of this tree is checked like any other.
  bracket=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*(.).*/\1/' <<<"${rest#*:}")
  if [ "$bracket" = "<" ] && [ "$included" != mex.h ] && [ ! -d "${included%%/*}" ]; then
    continue
  fi
  why=""
  if [ "$included" = mex.h ]; then
    [ "$layer" = gateway ] || why="mex.h belongs to the gateway"
  elif [[ $included == */* ]]; then
    target=${included%%/*}
    target_rank=$(rank_of "$target")
    if [ "$target_rank" -lt 0 ]; then
      why="$target/ is no layer of the module"
    elif [ "$target_rank" -gt "$(rank_of "$layer")" ]; then
      why="$target/ is above $layer/"
    fi
  elif [ ! -f "$(dirname "$file")/$included" ]; then
    why="not a file beside it"
  fi
  if [ -n "$why" ]; then
    echo "$file:$line: includes $included: $why (layers: gateway -> acquisition -> camera -> driver -> common)"
    broken=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' --include='*.h' --include='*.cpp' "${layers[@]}")
exit "$broken"
