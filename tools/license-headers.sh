#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Gives every source file the two licence lines at its top, in the comment form
# of its language:
#
#   tools/license-headers.sh           adds them where they are missing
#   tools/license-headers.sh --check   lists the files without them (exit 1 if any)
#
# It looks at the files git knows, tracked or new and not ignored, and can be
# run again at any time: a file that has both lines is left as it is. Files
# matched by .reuse/dep5 are never touched, because they have no comment form or
# their exact bytes are tested; a file of a kind not known here is reported, so
# give it a comment form below or a stanza in .reuse/dep5.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

# The licence checker would read these two as tags of this file, quote and all.
# REUSE-IgnoreStart
copyright_line="SPDX-FileCopyrightText: 2026 The Orvanta developers"
licence_line="SPDX-License-Identifier: MIT"
# REUSE-IgnoreEnd
# The lines count only near the top, where they are put: further down the same
# words may be data (this script has them further down too).
header_window=20

usage() {
    echo "usage: tools/license-headers.sh [--check]" >&2
    exit 2
}

check=""
case "$#:${1:-}" in
0:) ;;
1:--check) check=yes ;;
*) usage ;;
esac

# Every file pattern of the "Files:" fields, continuation lines included.
dep5_patterns=()
if [ -f .reuse/dep5 ]; then
    in_files=""
    while IFS= read -r line; do
        case "$line" in
        Files:*)
            in_files=yes
            line="${line#Files:}"
            ;;
        [[:space:]]*) [ -n "$in_files" ] || continue ;;
        *)
            in_files=""
            continue
            ;;
        esac
        read -ra words <<<"$line"
        dep5_patterns+=("${words[@]}")
    done <.reuse/dep5
fi

covered_by_dep5() {
    local pattern
    for pattern in "${dep5_patterns[@]}"; do
        # Unquoted on purpose: a dep5 "*" matches any characters, "/" included,
        # exactly like a pattern of [[ ]].
        # shellcheck disable=SC2053
        [[ "$1" == $pattern ]] && return 0
    done
    return 1
}

# What the licence checker ignores as well: the licence texts themselves.
ignored() {
    local name="${1##*/}"
    case "$name" in
    LICENSE* | COPYING* | *.license) return 0 ;;
    esac
    case "/$1" in
    */LICENSES/* | */.reuse/* | */.git/*) return 0 ;;
    esac
    return 1
}

# The comment form of a file: slash, hash, semicolon, roff or xml; nothing when
# unknown. A template (NAME.in) is commented like the file it becomes.
comment_form() {
    local name="${1##*/}"
    name="${name%.in}"
    case "$name" in
    *.cpp | *.cc | *.cxx | *.c | *.h | *.hpp | *.hh | *.qml | *.js) echo slash ;;
    CMakeLists.txt | *.cmake | *.sh | *.py | *.supp | *.desktop | *.service | *.yml | *.yaml | \
        *.toml | *.cfg | *.conf | .clang-format | .clang-tidy | .gitignore | .gitattributes | \
        .git-blame-ignore-revs)
        echo hash
        ;;
    *.ini) echo semicolon ;;
    *.xml | *.qrc | *.ui | *.svg | *.html | *.htm | *.md) echo xml ;;
    *.[1-9]) echo roff ;;
    *)
        if [ "$(head -c 2 "$1")" = "#!" ]; then
            echo hash
        fi
        ;;
    esac
}

# Puts the two lines after whatever has to stay first: a byte-order mark, a #!
# line, a Python coding line, an XML declaration and document type. The rest of the file keeps
# its bytes, its line ends (CRLF files get CRLF lines) and its mode.
add_header() {
    local file="$1" form="$2" open close blank=yes
    case "$form" in
    slash) open="// " close="" ;;
    hash) open="# " close="" ;;
    semicolon) open="; " close="" ;;
    xml) open="<!-- " close=" -->" ;;
    roff)
        open='.\" ' close=""
        # roff prints a blank line as an empty output line.
        blank=""
        ;;
    esac

    local first second eol=$'\n' keep=0 offset=0
    first="$(head -n 1 "$file")"
    second="$(sed -n 2p "$file")"
    [[ "$first" == *$'\r' ]] && eol=$'\r\n'
    local coding='^[[:space:]]*#.*coding[:=]'
    if [[ "$first" == "#!"* || "$first" == "<?xml"* ]]; then
        keep=1
        if [ "$form" = hash ] && [[ "$second" =~ $coding ]]; then keep=2; fi
    elif [ "$form" = hash ] && [[ "$first" =~ $coding ]]; then
        keep=1
    fi
    # Qt's D-Bus interface compiler refuses a comment before the document type.
    if [ "$form" = xml ]; then
        keep="$(awk -v keep="$keep" 'NR <= keep { next }
            NR == keep + 1 && !/^<!DOCTYPE/ { exit }
            />/ { end = NR; exit }
            END { print end ? end : keep }' "$file")"
    fi
    if ((keep > 0)); then
        offset="$(head -n "$keep" "$file" | wc -c)"
    elif [ "$(head -c 3 "$file")" = $'\xef\xbb\xbf' ]; then
        offset=3
    fi

    local size lead="" after
    size="$(wc -c <"$file")"
    # A last kept line without its line end gets one before the header.
    if ((offset > 0 && offset == size)) && [ "$(tail -c 1 "$file" | od -An -c | tr -d ' ')" != '\n' ]; then
        lead="$eol"
    fi
    # sed reads to the end: head would stop tail with SIGPIPE, a failure under pipefail.
    after="$(tail -c +"$((offset + 1))" "$file" | sed -n 1p)"
    if ((offset == size)) || [ -z "${after%$'\r'}" ]; then blank=""; fi

    local tmp
    tmp="$(mktemp)"
    {
        head -c "$offset" "$file"
        printf '%s' "$lead"
        printf '%s%s%s%s' "$open" "$copyright_line" "$close" "$eol"
        printf '%s%s%s%s' "$open" "$licence_line" "$close" "$eol"
        [ -n "$blank" ] && printf '%s' "$eol"
        tail -c +"$((offset + 1))" "$file"
    } >"$tmp"
    # Written through, not moved: the file keeps its mode (scripts stay executable).
    cat "$tmp" >"$file"
    rm -f "$tmp"
}

status=0
while IFS= read -r -d '' file; do
    if [ ! -f "$file" ] || [ -L "$file" ]; then continue; fi
    ignored "$file" && continue
    covered_by_dep5 "$file" && continue

    top="$(head -n "$header_window" "$file")"
    has_copyright=""
    has_licence=""
    [[ "$top" == *"$copyright_line"* ]] && has_copyright=yes
    [[ "$top" == *"$licence_line"* ]] && has_licence=yes
    [ -n "$has_copyright" ] && [ -n "$has_licence" ] && continue

    if [ -n "$check" ]; then
        echo "$file"
        status=1
    elif [ -n "$has_copyright$has_licence" ]; then
        # Another holder or licence may be meant: that is for a person to decide.
        echo "$file: has only one of the two licence lines; complete it by hand" >&2
        status=1
    else
        form="$(comment_form "$file")"
        if [ -z "$form" ]; then
            echo "$file: no comment form known; add one to $0 or cover the file in .reuse/dep5" >&2
            status=1
        else
            add_header "$file" "$form"
            echo "added: $file"
        fi
    fi
done < <(git ls-files -z --cached --others --exclude-standard)
exit "$status"
