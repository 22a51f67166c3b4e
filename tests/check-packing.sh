#!/bin/sh
# check-packing.sh PACK_SETS DIST LAUNCHER: packs the sample sets of DIST
# twice, from copies whose files differ in dates, permissions and the order
# they were made in: the archives and single programs must be the same byte
# for byte, the archives hold the names in order with the one fixed date and
# no extra fields, and change only with SOURCE_DATE_EPOCH. The package
# manifests written beside them must say what the set and its archive say.
set -u
pack=$1 dist=$2 launcher=$3
manifests=$(dirname "$pack")/write-manifests setup=$(dirname "$pack")/../setup
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "$*"; exit 1; }
export LC_ALL=C TZ=UTC
sets=$(for set in player plugin player-de plugin-de; do [ -d "$dist/$set" ] && echo $set; done)

for copy in a b c; do
    for set in $sets; do
        mkdir -p "$tmp/$copy/$set"
        # b: made in reverse order, other dates and permissions
        for f in $(ls "$dist/$set" | if [ $copy = b ]; then sort -r; else cat; fi); do
            cp "$dist/$set/$f" "$tmp/$copy/$set/$f"
            [ $copy = b ] && chmod 0600 "$tmp/$copy/$set/$f" && touch -d '2001-02-03 04:05:06' "$tmp/$copy/$set/$f"
        done
    done
done
unset SOURCE_DATE_EPOCH
singles=$(for set in $sets; do echo "$set=$launcher"; done)
"$pack" "$tmp/a" $singles >/dev/null || fail "packing a failed"
"$pack" "$tmp/b" $singles >/dev/null || fail "packing b failed"
SOURCE_DATE_EPOCH=946684800 "$pack" "$tmp/c" $sets >/dev/null || fail "packing c failed"

for set in $sets; do
    cmp "$tmp/a/$set.zip" "$tmp/b/$set.zip" || fail "$set.zip differs with other dates, permissions or order"
    cmp "$tmp/a/$set.exe" "$tmp/b/$set.exe" || fail "$set.exe differs with other dates, permissions or order"
    head -c "$(wc -c <"$launcher")" "$tmp/a/$set.exe" | cmp -s - "$launcher" || fail "$set.exe does not start with the launcher"
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
# A manifest's value (its first line of that key), unquoted.
value() { sed -n "s/^ *-\{0,1\} *$1: //p" "$2" | head -1 | sed 's/^"\(.*\)"$/\1/; s/\\"/"/g'; }
# A version resource's string, as the strings of the file show it.
resource() { strings -el "$2" | sed -n "/^$1\$/{n;p;q}"; }
"$manifests" "$tmp/a" $sets >/dev/null || fail "no manifests written"
codes=$(sed -n 's/.*kExit[A-Za-z]* = \([1-9][0-9]*\).*/\1/p' "$setup/runlog.h" | sort -n | tr '\n' ' ')
for set in $sets; do
    m=$(ls "$tmp/a/$set-manifest/"*.installer.yaml) l=$(ls "$tmp/a/$set-manifest/"*.locale.*.yaml)
    sum=$(sha256sum <"$tmp/a/$set.zip" | cut -d' ' -f1)
    [ "$(value InstallerSha256 "$m" | tr A-F a-f)" = "$sum" ] || fail "$set: the manifest's hash is not the zip's"
    e=$(ls "$tmp/a/$set-exe-manifest/"*.installer.yaml)
    [ "$(value InstallerSha256 "$e" | tr A-F a-f)" = "$(sha256sum <"$tmp/a/$set.exe" | cut -d' ' -f1)" ] &&
        [ "$(value InstallerType "$e")" = exe ] && [ -z "$(value RelativeFilePath "$e")" ] || fail "$set: the single program's manifest"
    nested=$(value RelativeFilePath "$m")
    unzip -p "$tmp/a/$set.zip" "$nested" | cmp -s - "$dist/$set/SETUP.EXE" || fail "$set: $nested is not the set's setup"
    # as the package manager fills them in: each one argument, even with blanks
    for s in "InstallLocation /D=C:\Program Files\Zyne x" "Log /LOG=C:\a b\setup log.txt"; do
        sw=$(value "${s%% *}" "$m" | sed 's/<INSTALLPATH>/C:\\Program Files\\Zyne x/; s/<LOGPATH>/C:\\a b\\setup log.txt/')
        eval "set -- $sw"
        [ $# -eq 1 ] && [ "$1" = "${s#* }" ] || fail "$set: ${s%% *} switch reads as $# arguments: $*"
    done
    [ "$(value Silent "$m")" = /S ] && [ "$(value SilentWithProgress "$m")" = "/S /PROGRESS" ] ||
        fail "$set: silent switches $(value Silent "$m"), $(value SilentWithProgress "$m")"
    listed=$(sed -n 's/^ *- InstallerReturnCode: //p' "$m")
    [ "$(echo "$listed" | sort -n | tr '\n' ' ')" = "$codes" ] || fail "$set: return codes $(echo $listed), setup has $codes"
    module=$(sed -n 's/^Module=//p' "$dist/$set/SETUP.INI" | head -1 | tr -d '\r')
    version=$(resource ProductVersion "$dist/$set/$module") company=$(resource CompanyName "$dist/$set/$module")
    product=$(resource ProductName "$dist/$set/$module")
    for kv in "ProductCode=$module" "DisplayVersion=$version" "Publisher=$company" "DisplayName=$product $version"; do
        [ "$(value "${kv%%=*}" "$m")" = "${kv#*=}" ] || fail "$set: entry ${kv%%=*} $(value "${kv%%=*}" "$m"), not ${kv#*=}"
    done
    [ "$(value PackageVersion "$m")" = "$version" ] && [ "$(value PackageName "$l")" = "$product" ] &&
        [ "$(value Publisher "$l")" = "$company" ] || fail "$set: the package's version, name or publisher"
    # a market's set in its own language: German for the -de sets
    case $set in *-de) want=de-DE ;; *) want=en-US ;; esac
    [ "$(value InstallerLocale "$m")" = $want ] && [ "$(value PackageLocale "$l")" = $want ] ||
        fail "$set: locale $(value InstallerLocale "$m") and $(value PackageLocale "$l"), not $want"
    # the readme's first paragraph under its underlined title
    want=$(iconv -f CP1252 -t UTF-8 "$dist/$set/README.TXT" | tr -d '\r' | sed -n '4,/^$/p' | paste -sd ' ' - | sed 's/ $//')
    [ "$(value ShortDescription "$l")" = "$want" ] || fail "$set: description $(value ShortDescription "$l")"
done
# a set without its setup program: the script's own message; a readme in code
# page 1252 with German quotes: the same characters in the manifest
set=$(echo $sets | cut -d" " -f1)
mkdir "$tmp/n" "$tmp/q" && cp -r "$tmp/a/$set" "$tmp/n/" && cp -r "$tmp/a/$set" "$tmp/a/$set.zip" "$tmp/q/" || fail "no copies"
rm "$tmp/n/$set/SETUP.EXE"
out=$("$manifests" "$tmp/n" $set 2>&1) && fail "a set without SETUP.EXE: manifest written"
[ "$out" = "write-manifests: $tmp/n/$set has no SETUP.EXE" ] || fail "a set without SETUP.EXE: $out"
printf 'Player\r\n======\r\n\r\nSpielt \204Zyne\223-Pr\344sentationen\r\nab.\r\n' >"$tmp/q/$set/README.TXT"
"$manifests" "$tmp/q" $set >/dev/null || fail "a cp1252 readme: no manifest"
l=$(ls "$tmp/q/$set-manifest/"*.locale.*.yaml)
[ "$(value ShortDescription "$l")" = "Spielt „Zyne“-Präsentationen ab." ] || fail "a cp1252 readme: $(value ShortDescription "$l")"
(cd "$tmp/a" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not check"
[ "$(wc -l <"$tmp/a/SHA256SUMS")" -eq $(($(echo $sets | wc -w) * 2)) ] || fail "SHA256SUMS lists $(wc -l <"$tmp/a/SHA256SUMS") files"
# the single program's setup offers no clean-up: the launcher removes the set itself
mkdir "$tmp/d" && cp -r "$dist/player" "$tmp/d/" && sed -i 's/^\[Options\]/&\nDeleteSource=yes/' "$tmp/d/player/SETUP.INI"
"$(dirname "$pack")/single-file" "$launcher" "$tmp/d/player" "$tmp/d/player.exe" || fail "single-file failed"
! grep -aq DeleteSource=yes "$tmp/d/player.exe" && grep -aq '^DeleteSource=no' "$tmp/d/player.exe" ||
    fail "player.exe: the description offers the clean-up, or lost the rest"
echo "packing: same archives and single programs from other dates, permissions and order; names in order, one date;"
echo "manifests: the zip's and program's hash, the zip's setup, switches one argument each, setup's exit codes, the entry's values,"
echo "the readme's description in UTF-8; a set without SETUP.EXE refused"
