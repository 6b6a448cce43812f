#!/usr/bin/env bash
# Fails on an #include against the engine's layers. Inside extraction/ a
# part may include its own folder and the folders below it:
#   base < text < sys < match < source, output < explain, transform
#   < the run (extraction/ itself) < suggest
# Marker suggestion sits above the run, whose inputs, messages and matchers
# it uses. The front ends (cli/, window/) see the engine through the run's
# own headers, the text helpers and the suggestion's public face only:
# extraction/*.h, extraction/text/ and extraction/suggest/suggestion*.h.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
  case $1 in
    base) echo 0 ;; text) echo 1 ;; sys) echo 2 ;; match) echo 3 ;;
    source | output) echo 4 ;; explain | transform) echo 5 ;; '') echo 6 ;;
    suggest) echo 7 ;;
    *) echo "unknown" ;;
  esac
}

# The part of the engine a path lies in: its folder below extraction/, or
# nothing for extraction/ itself.
part() {
  local rest=${1#extraction/}
  case $rest in */*) echo "${rest%%/*}" ;; *) echo "" ;; esac
}

failed=0
while IFS= read -r -d '' file; do
  while IFS= read -r included; do
    if [[ $file == extraction/* ]]; then
      from=$(part "$file") to=$(part "$included")
      from_rank=$(rank "$from") to_rank=$(rank "$to")
      if [ "$from_rank" = unknown ] || [ "$to_rank" = unknown ]; then
        echo "$file: $included: a folder of the engine without a layer"
        failed=1
      elif [ "$from" != "$to" ] && [ "$to_rank" -ge "$from_rank" ]; then
        echo "$file: $included: ${from:-the run} may not include ${to:-the run}"
        failed=1
      fi
    else
      case $included in
        extraction/suggest/suggestion*.h) continue ;;
      esac
      case $(part "$included") in
        '' | text) ;;
        *)
          echo "$file: $included: the front ends use the run's headers"
          failed=1
          ;;
      esac
    fi
  done < <(sed -n 's/^#include "\(extraction\/[^"]*\)".*/\1/p' "$file")
done < <(git ls-files -z -- 'extraction/*.cpp' 'extraction/*.h' \
           'cli/*.cpp' 'cli/*.h' 'window/*.cpp' 'window/*.h')
exit $failed
