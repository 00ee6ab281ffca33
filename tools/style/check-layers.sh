#!/usr/bin/env bash
# Fails when a file under src/ includes a header its folder may not use.
# The folder order is the one src/CMakeLists.txt states: a folder may
# include its own headers and those of the modules it links (DEPS, followed
# through). Beyond that, the director computes and never draws (no GL
# header), and nothing outside platform/ sees SDL.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

# "name dep dep ..." for each velmora_module() call, joined over its lines.
mapfile -t modules < <(awk '
  /velmora_module\(/ { text = ""; open = 1 }
  open { text = text " " $0; if (index($0, ")")) { open = 0; print text } }
' src/CMakeLists.txt | sed -E 's/.*velmora_module\(//; s/\).*//' |
  awk '{ line = $1; deps = 0
         for (i = 2; i <= NF; ++i) {
           if ($i == "DEPS") { deps = 1; continue }
           if ($i ~ /^[A-Z_]+$/) { deps = 0; continue }
           if (deps && $i ~ /^velmora_/) { sub(/^velmora_/, "", $i); line = line " " $i }
         }
         print line }')

declare -A direct
for row in "${modules[@]}"; do
  read -r name deps <<<"$row"
  direct[$name]="$deps"
done

# Every folder a module reaches through its links, itself included.
reach() {
  local todo=("$1") seen=" $1 " next
  while [ ${#todo[@]} -gt 0 ]; do
    next=${todo[0]}
    todo=("${todo[@]:1}")
    for dep in ${direct[$next]:-}; do
      [[ $seen == *" $dep "* ]] && continue
      seen+="$dep "
      todo+=("$dep")
    done
  done
  echo "$seen"
}

status=0
complain() {
  echo "$1: $2" >&2
  status=1
}

for folder in "${!direct[@]}"; do
  [ -d "src/$folder" ] || continue
  allowed=$(reach "$folder")
  while IFS= read -r hit; do
    file=${hit%%:*}
    header=$(sed -E 's/.*#include *[<"]([^>"]*)[>"].*/\1/' <<<"${hit#*:}")
    case $header in
      */*) used=${header%%/*} ;;
      *) used="" ;;
    esac
    if [ -n "$used" ] && [ -n "${direct[$used]+set}" ] && [[ $allowed != *" $used "* ]]; then
      complain "$file" "includes $header, but $folder does not link $used"
    fi
    if [ "$folder" = director ] && [[ $header == GL/* || $header == effects/* || $header == gpu/* ]]; then
      complain "$file" "includes $header: the director computes, drawing lives in effects/"
    fi
    if [ "$folder" != platform ] && [[ $header == SDL* ]]; then
      complain "$file" "includes $header: only platform/ uses SDL"
    fi
  done < <(grep -rHE '^\s*#\s*include' "src/$folder" --include='*.h' --include='*.cpp' || true)
done
exit $status
