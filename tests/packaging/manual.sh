#!/bin/bash
# Every option the binary's help lists is described in the manual page, and the page itself reads
# without warnings.
# Usage: manual.sh COHORTEX MANUAL_PAGE
set -u
failed=0
for option in $("$1" --help | grep -oE -- '(^|[ ,|])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z-]+' | sort -u); do
    escaped=${option//-/\\\\-}
    if ! grep -qE -- "$escaped" "$2"; then
        echo "FAIL: the manual page does not describe $option"
        failed=1
    fi
done
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$2" 2>&1 >/dev/null)
if [[ -n "$warnings" ]]; then
    echo "FAIL: the manual page has warnings:"
    echo "$warnings"
    failed=1
fi
exit $failed
