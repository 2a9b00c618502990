#!/usr/bin/env bash
# Presses TAB on tarvik-solve command lines with the built bash completion, as
# bash-completion does, and compares what is offered.
#   completion_test.sh COMPLETION-FILE
set -u
source /usr/share/bash-completion/bash_completion
source "$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" && touch a.tlp B.TIP c.tip chain.txt notes.md && mkdir sub
failed=0

expect() { # expect LINE OFFERS: LINE is the command line up to the cursor
    local line=$1 want=$2 got
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tarvik_solve tarvik-solve "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ')
    got=${got% }
    if [ "$got" != "$want" ]; then
        echo "FAIL '$line': offered '$got', expected '$want'"
        failed=1
    fi
}

expect "tarvik-solve --tab" "--tableaus"
expect "tarvik-solve --tableaus " "all first-last none"
expect "tarvik-solve --tableaus=f" "first-last"
expect "tarvik-solve " "B.TIP a.tlp c.tip sub"
expect "tarvik-solve --roul" "--roulette"
expect "tarvik-solve chain.txt --analysis " "first-passage steady-state structure transient"
expect "tarvik-solve --tsp " "chain.txt sub"
expect "tarvik-solve --tsp chain.txt --tour e" "exact"
expect "tarvik-solve --tsp chain.txt --two" "--two-opt"
expect "tarvik-solve --queue mmc --se" "--service"
expect "tarvik-solve --dice fair-die --seed " ""
expect "tarvik-solve --montecarlo st" "st-petersburg"
expect "tarvik-solve --simulate=single --arr" "--arrivals"
exit "$failed"
