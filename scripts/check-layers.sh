#!/usr/bin/env bash
# Checks that the module's folders include one way only, each layer the
# ones below it and never one above, in the order of layers.txt (top
# first). A name without a folder must be a file beside the one including
# it (so no header is reached through another target's include folder, the
# simulator's above all). mex.h is left to the compiler: only the gateway's
# targets have a host's include folder, so below the gateway it is not
# found. Prints every include that breaks the order and exits 1 when there
# is one.
#   scripts/check-layers.sh [source root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
layers=()  # bottom first
while read -r folder _; do
  layer=${folder%%/*}
  [[ $folder == [a-z]* && " ${layers[*]} " != *" $layer "* ]] && layers=("$layer" "${layers[@]}")
done <layers.txt
order=$(printf '%s\n' "${layers[@]}" | tac | paste -sd' ' | sed 's/ / -> /g')

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
  if [ "$included" = mex.h ] || { [ "$bracket" = "<" ] && [ ! -d "${included%%/*}" ]; }; then
    continue
  fi
  why=""
  if [[ $included == */* ]]; then
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
    echo "$file:$line: includes $included: $why (layers: $order)"
    broken=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' --include='*.h' --include='*.cpp' "${layers[@]}")
exit "$broken"
