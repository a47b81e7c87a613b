#!/bin/bash
# The generated bash completion, driven as bash drives it at a Tab press: options by prefix, each value
# by the kind the option takes, and workspace files (not other files) where links and files go.
# Usage: completion.sh COMPLETION_SCRIPT
set -u
source "$1"
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir team && touch team.cohortex notes.txt

complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _cohortex
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {
    local wanted=$1
    shift
    local got
    got=$(complete_words "$@")
    if [[ "$got" != "$wanted" ]]; then
        echo "FAIL: '$*' completed to '$got', expected '$wanted'"
        failed=1
    fi
}

expect "--import-layout" cohortex --imp
expect "--open-workspace" cohortex --open-w
expect "-h" cohortex -h
expect "1 2 3 4 5 6 7 8 9" cohortex --open-workspace ""
expect "bash" cohortex --shell-completion b
expect "notes.txt team team.cohortex" cohortex --export-layout ""
expect "team team.cohortex" cohortex ""
expect "" cohortex --workspace ""
exit $failed
