#!/bin/sh
# check-sets.sh WINE_RUN CHECKER CASES DIST
# Runs the set checker once over every case folder of CASES (see README.md)
# and once over the sample sets player and plugin of DIST: the case output
# must be each case's expected lines, the exit status the number of cases
# with an error among them; the samples give no line and status 0.
set -u
run=$1 checker=$2 cases=$3 dist=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

cd "$cases" || exit 1
args= refused=0
for dir in */; do
    name=${dir%/}
    args="$args $name\\set"
    # the checker names each description through the folder it was given
    sed "s|^|$name\\\\set\\\\|" "$name/expected" >>"$tmp/want"
    grep -q ': error: ' "$name/expected" && refused=$((refused + 1))
done
"$run" "$checker" $args >"$tmp/raw"
status=$?
tr -d '\r' <"$tmp/raw" >"$tmp/got"
if ! diff -u "$tmp/want" "$tmp/got"; then
    echo "cases: the output differs from the expected lines (- expected, + checker)"; fail=1
fi
[ "$status" -eq "$refused" ] || { echo "cases: exit status $status, expected $refused"; fail=1; }
echo "cases: $(ls -d */ | wc -l) sets, $refused refused"

cd "$dist" || exit 1
"$run" "$checker" player plugin >"$tmp/samples"
status=$?
if [ -s "$tmp/samples" ] || [ "$status" -ne 0 ]; then
    echo "samples: exit status $status, expected 0 and no line:"; cat "$tmp/samples"; fail=1
fi
exit $fail
