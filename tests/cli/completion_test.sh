#!/usr/bin/env bash
# Drives vantrel-cli's bash completion as bash does on Tab: the words so far
# in COMP_WORDS, the function that `complete` names, the offers in COMPREPLY.
# Every long option of --help is offered, so the script cannot drift from
# the program's option table. The zsh and fish scripts, where those shells
# are installed, must parse, and fish must offer the same options and values.
#   completion_test.sh VANTREL_CLI BASH_COMPLETION ZSH_COMPLETION FISH_COMPLETION
source "$(dirname "$0")/../support/shell_test.sh"
cli=$1 zsh_script=$3 fish_script=$4
source "$2" || fail "cannot source $2"

function=$(complete -p vantrel-cli | grep -o -- '-F [^ ]*' | cut -c4-)
[ -n "$function" ] || fail "no completion function for vantrel-cli"

# The offers for the command line "$@", whose last word is being typed, in
# order and on one line.
offers() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  "$function" 2>/dev/null
  [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort |
    tr '\n' ' '
}

cd "$work" || exit 1
mkdir pages pagez
touch pages.txt

help_options=$("$cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u |
               tr '\n' ' ')
[ "$(offers vantrel-cli --)" = "$help_options" ] ||
  fail "offered for --: '$(offers vantrel-cli --)', --help has '$help_options'"

while IFS='|' read -r words expected; do
  read -ra line <<<"$words"
  [ "${words: -1}" = " " ] && line+=("")
  got=$(offers vantrel-cli "${line[@]}")
  [ "$got" = "$expected" ] || fail "'vantrel-cli $words': '$got', not '$expected'"
done <<'CASES'
--e|--end --end-file --explain --ext 
--line-breaks |any exact 
--charset wind|windows-1256 
--start-file pages.|pages.txt 
--end-file pag|pages pages.txt pagez 
--separate pag|pages pagez 
--start pag|
--ext |
--a|--around --around-file 
--around-file pages.|pages.txt 
--around |
--out pag|pages pagez 
--files-from pages.|pages.txt 
CASES

if command -v zsh >/dev/null; then
  zsh -n "$zsh_script" || fail "zsh cannot parse $zsh_script"
else
  echo "skipped zsh: not installed"
fi
# fish's offers for the command line "$1": the words before their tabs.
fish_offers() {
  fish -c "source '$fish_script'; complete -C '$1'" | cut -f1 | sort | tr '\n' ' '
}
if command -v fish >/dev/null; then
  fish -n "$fish_script" || fail "fish cannot parse $fish_script"
  [ "$(fish_offers 'vantrel-cli --')" = "$help_options" ] ||
    fail "fish offered for --: '$(fish_offers 'vantrel-cli --')'"
  while IFS='|' read -r words expected; do
    got=$(fish_offers "vantrel-cli $words")
    [ "$got" = "$expected" ] || fail "fish 'vantrel-cli $words': '$got'"
  done <<'CASES'
--char|--charset 
--line-breaks |any exact 
--charset wind|windows-1256 
CASES
else
  echo "skipped fish: not installed"
fi

finish "bash, and zsh and fish where installed, complete options and values"
