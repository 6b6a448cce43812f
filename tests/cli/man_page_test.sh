#!/usr/bin/env bash
# Keeps vantrel-cli's manual page in step with its --help: the same long
# options, the same exit statuses and the same version, and a page that
# groff formats without a warning.
#   man_page_test.sh VANTREL_CLI MANUAL_PAGE
source "$(dirname "$0")/../support/shell_test.sh"
cli=$1
page=$2

help=$("$cli" --help) || fail "vantrel-cli --help exited with $?"
version=$("$cli" --version) || fail "vantrel-cli --version exited with $?"
# The page as plain text, with roff's \- and font changes gone.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")

long_options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
# Options the page describes: the heads of the items in OPTIONS.
described=$(awk '/^\.SH /{in_options = ($2 == "OPTIONS")}
                 head {if (in_options) print; head = 0}
                 /^\.TP/{head = 1}' <<<"$text" | long_options)
mentioned=$(long_options <<<"$text")
offered=$(long_options <<<"$help")

missing=$(comm -23 <(echo "$offered") <(echo "$described"))
[ -z "$missing" ] || fail "options in --help but not under OPTIONS:" $missing
unknown=$(comm -13 <(echo "$offered") <(echo "$mentioned"))
[ -z "$unknown" ] || fail "options in the page but not in --help:" $unknown

# Exit statuses: the numbers in --help's "Exit status:" footer and the items
# under EXIT STATUS.
help_statuses=$(sed -n '/Exit status:/,$p' <<<"$help" |
                  grep -oE '(^|[:;] *)[0-9]+' | grep -oE '[0-9]+' | sort -n)
page_statuses=$(awk '/^\.SH /{in_status = ($0 ~ /EXIT STATUS/)}
                     head {if (in_status) print $2; head = 0}
                     /^\.TP/{head = 1}' <<<"$text" | sort -n)
[ -n "$help_statuses" ] || fail "no exit statuses in --help"
[ "$help_statuses" = "$page_statuses" ] ||
  fail "exit statuses differ: --help" $help_statuses "page" $page_statuses

number=${version#vantrel-cli }
grep -qx "\.B $version" <<<"$text" ||
  fail "the page does not show --version's \"$version\""
grep -q "^\.TH VANTREL-CLI 1 \"[0-9-]*\" \"Vantrel $number\"" <<<"$text" ||
  fail "the page's title line does not carry version $number"

warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
[ -z "$warnings" ] || fail "groff warns: $warnings"

finish "manual page and --help agree ($version)"
