#!/bin/sh
# check-packing.sh PACK_SETS DIST: packs the sample sets of DIST twice, from
# copies whose files differ in dates, permissions and the order they were
# made in: the archives must be the same byte for byte, hold the names in
# order with the one fixed date and no extra fields, and change only with
# SOURCE_DATE_EPOCH.
set -u
pack=$1 dist=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "$*"; exit 1; }
export LC_ALL=C TZ=UTC

for copy in a b c; do
    for set in player plugin; do
        mkdir -p "$tmp/$copy/$set"
        # b: made in reverse order, other dates and permissions
        for f in $(ls "$dist/$set" | if [ $copy = b ]; then sort -r; else cat; fi); do
            cp "$dist/$set/$f" "$tmp/$copy/$set/$f"
            [ $copy = b ] && chmod 0600 "$tmp/$copy/$set/$f" && touch -d '2001-02-03 04:05:06' "$tmp/$copy/$set/$f"
        done
    done
done
unset SOURCE_DATE_EPOCH
"$pack" "$tmp/a" player plugin >/dev/null || fail "packing a failed"
"$pack" "$tmp/b" player plugin >/dev/null || fail "packing b failed"
SOURCE_DATE_EPOCH=946684800 "$pack" "$tmp/c" player plugin >/dev/null || fail "packing c failed"

for set in player plugin; do
    cmp "$tmp/a/$set.zip" "$tmp/b/$set.zip" || fail "$set.zip differs with other dates, permissions or order"
    cmp -s "$tmp/a/$set.zip" "$tmp/c/$set.zip" && fail "$set.zip ignores SOURCE_DATE_EPOCH"
    names=$(zipinfo -1 "$tmp/a/$set.zip")
    [ "$names" = "$(ls "$dist/$set")" ] || fail "$set.zip: names $names"
    # no extra fields: they would carry the packer's user and group
    extra=$(zipinfo -v "$tmp/a/$set.zip" | sed -n 's/.*length of extra field: *//p' | sort -u)
    [ "$extra" = "0 bytes" ] || fail "$set.zip: extra fields of $extra"
    for copy in a:1997-06-01 c:2000-01-01; do
        dates=$(unzip -Z -T "$tmp/${copy%:*}/$set.zip" | awk '/^-/ { print $7 }' | sort -u)
        want=$(echo "${copy#*:}" | tr -d -)
        [ "$dates" = "${want}.000000" ] || fail "$set.zip of ${copy%:*}: dates $dates"
    done
done
(cd "$tmp/a" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not check"
[ "$(wc -l <"$tmp/a/SHA256SUMS")" -eq 2 ] || fail "SHA256SUMS lists $(wc -l <"$tmp/a/SHA256SUMS") archives"
echo "packing: same archives from other dates, permissions and order; names in order, one date"
