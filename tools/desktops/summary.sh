# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sourced by tools/desktop-matrix.sh: reads the results of the environments
# and prints them as a Markdown table, with the failures in full after it.

CHECKS=(placed follows undecorated not-a-task above click-through-x click-through-wayland keys-on-click
    keys-elsewhere memory)

# result_line RESULTS ENV CHECK: the last line an environment wrote for a check.
result_line() {
    awk -F'\t' -v e="$2" -v c="$3" '$1 == e && $2 == c { line = $0 } END { print line }' "$1"
}

# limit_for LIMITS ENV CHECK: the documented reason why the check cannot pass
# there; fails when there is none. Lines starting with # are comments.
limit_for() {
    [ -f "$1" ] || return 1
    awk -F'\t' -v e="$2" -v c="$3" '
        !/^#/ && NF >= 3 && $1 == e && $2 == c { print $3; found = 1; exit }
        END { exit !found }' "$1"
}

# short_figure TEXT: what a table cell shows of a figure: the text before its
# first ";", at most 40 characters, with the table's "|" escaped.
short_figure() {
    local s=${1%%;*}
    ((${#s} > 40)) && s="${s:0:39}…"
    printf '%s' "${s//|/\\|}"
}

# summarise RESULTS LIMITS ENV...: prints the table; returns 1 when a check
# failed that LIMITS does not list (a check without a result has failed).
summarise() {
    local results=$1 limits=$2 env check line status figure reason cell failed=0 details="" stale=""
    shift 2
    printf '\n| environment |'
    for check in "${CHECKS[@]}"; do printf ' %s |' "$check"; done
    printf '\n|---|'
    for check in "${CHECKS[@]}"; do printf '%s' '---|'; done
    printf '\n'
    for env in "$@"; do
        printf '| %s |' "$env"
        for check in "${CHECKS[@]}"; do
            line=$(result_line "$results" "$env" "$check")
            status=$(cut -f3 <<<"$line")
            figure=$(cut -f4- <<<"$line")
            [ -n "$line" ] || figure="no result"
            case $status in
            pass) cell="pass" ;;
            n/a) cell="n/a" ;;
            *)
                if reason=$(limit_for "$limits" "$env" "$check"); then
                    cell="limit"
                    details+="- $env / $check: limit ($reason): $figure"$'\n'
                else
                    cell="FAIL"
                    failed=1
                    details+="- $env / $check: FAIL: $figure"$'\n'
                fi
                ;;
            esac
            if [ "$status" = pass ] || [ "$status" = n/a ]; then
                limit_for "$limits" "$env" "$check" >/dev/null &&
                    stale+="- $env / $check is listed in $limits but gave $status"$'\n'
            fi
            printf ' %s%s |' "$cell" "${figure:+ $(short_figure "$figure")}"
        done
        printf '\n'
    done
    [ -n "$details" ] && printf '\nFailures and limits:\n\n%s' "$details"
    [ -n "$stale" ] && printf '\nLimits that no longer hold:\n\n%s' "$stale"
    return "$failed"
}
