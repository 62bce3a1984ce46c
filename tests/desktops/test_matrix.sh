#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# The parts of the desktop matrix that decide without a desktop: where the
# program's window must be, and how results and documented limits become the
# table and the exit status.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
source tools/desktops/placement.sh
source tools/desktops/summary.sh

passed=0 failed=0
expect() { # expect NAME WANT GOT
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL %s\n  want: %s\n  got:  %s\n' "$1" "$2" "$3"
    fi
}

# Bounds and desktop -> window, as orvanta::placeWindow gives them for a
# window that does not exist yet.
while read -r bx by bw bh dw dh _ want; do
    expect "window for $bx,$by ${bw}x$bh on ${dw}x$dh" "$want" "$(expected_window "$bx" "$by" "$bw" "$bh" "$dw" "$dh")"
done <<'CASES'
609 349 442 304 1920 1080 -> 607 347 446 308
0 0 100 80 1920 1080 -> 0 0 102 82
-30 -20 300 200 1920 1080 -> 0 0 272 182
1800 1000 200 150 1920 1080 -> 1798 998 122 82
10 10 2000 300 1920 1080 -> 8 8 1912 304
500 400 1 1 1920 1080 -> 498 398 5 5
CASES

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tab=$'\t'

# Figures in cells: the part before ";", cut at 40 characters, "|" escaped.
expect "short figure" "+130,+39" "$(short_figure "+130,+39; window +130,+39")"
expect "long figure" "$(printf 'a%.0s' {1..39})…" "$(short_figure "$(printf 'a%.0s' {1..50}); x")"
expect "pipe in a figure" 'a\|b' "$(short_figure 'a|b')"

cat >"$tmp/limits.tsv" <<LIMITS
# comment${tab}placed${tab}not a limit
sway${tab}above${tab}sway raises the focused floating window
weston${tab}placed${tab}weston places X windows itself
LIMITS
expect "a listed limit" "sway raises the focused floating window" "$(limit_for "$tmp/limits.tsv" sway above)"
limit_for "$tmp/limits.tsv" "# comment" placed >/dev/null
expect "comments are no limits" 1 "$?"
limit_for "$tmp/missing.tsv" sway above >/dev/null
expect "no limits file" 1 "$?"

# One environment with every kind of cell; the last line of a check counts.
results=$tmp/results.tsv
{
    for check in "${CHECKS[@]}"; do printf 'ok%s%s%spass%sfine\n' "$tab" "$check" "$tab" "$tab"; done
    printf 'sway\tplaced\tfail\tfirst\n'
    printf 'sway\tplaced\tpass\t+0,+0; window +0,+0\n'
    printf 'sway\tabove\tfail\txterm on top; pixel #FF00FF\n'
    printf 'sway\tnot-a-task\tfail\tno skip flags; type UTILITY\n'
    printf 'sway\tclick-through-x\tn/a\tno input injection\n'
} >"$results"
table=$(summarise "$results" "$tmp/limits.tsv" ok sway)
status=$?
expect "an unlisted failure fails the run" 1 "$status"
row() { grep "^| $1 |" <<<"$table"; }
expect "a row of passes" "| ok | pass fine | pass fine | pass fine | pass fine | pass fine | pass fine | pass fine | pass fine | pass fine | pass fine |" "$(row ok)"
expect "each kind of cell" "| sway | pass +0,+0 | FAIL no result | FAIL no result | FAIL no skip flags | limit xterm on top | n/a no input injection | FAIL no result | FAIL no result | FAIL no result | FAIL no result |" \
    "$(row sway)"
grep -q -- "- sway / not-a-task: FAIL: no skip flags; type UTILITY" <<<"$table"
expect "failures in full" 0 "$?"
grep -q -- "- sway / above: limit (sway raises the focused floating window): xterm on top; pixel #FF00FF" <<<"$table"
expect "limits in full" 0 "$?"
grep -q -- "- sway / keys-on-click: FAIL: no result" <<<"$table"
expect "a check without a result fails" 0 "$?"

# Only listed failures: the run passes, and a listed check that passed is named.
printf 'weston\tplaced\tpass\t+0,+0\n' >"$results"
for check in "${CHECKS[@]}"; do
    [ "$check" = placed ] || printf 'weston\t%s\tn/a\tno input injection\n' "$check" >>"$results"
done
printf 'sway\tabove\tfail\txterm on top\n' >>"$results"
for check in "${CHECKS[@]}"; do
    [ "$check" = above ] || printf 'sway\t%s\tpass\tfine\n' "$check" >>"$results"
done
table=$(summarise "$results" "$tmp/limits.tsv" sway weston)
expect "only limits fail: the run passes" 0 "$?"
grep -q -- "- weston / placed is listed in $tmp/limits.tsv but gave pass" <<<"$table"
expect "a limit that no longer holds is named" 0 "$?"
expect "header" "| environment | placed | follows | undecorated | not-a-task | above | click-through-x | click-through-wayland | keys-on-click | keys-elsewhere | memory |" \
    "$(grep '^| environment' <<<"$table")"

echo "$passed passed, $failed failed"
((failed == 0))
