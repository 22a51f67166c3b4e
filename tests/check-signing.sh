#!/bin/sh
# check-signing.sh SIGN WINE_RUN CHECKER SET: with a certificate authority and
# a code-signing certificate made for this run only, the player set SET signed
# as make dist signs it: every program verifies against that authority; two
# signings give the same bytes; the signature taken off gives the build's
# program back; the signed setup, and the set's single program signed, install
# and remove the player unattended;
# the set checker finds a program changed after signing, an unsigned one
# beside signed ones and another publisher, and with /SIGNED every unsigned one.
set -u
sign=$1 run=$2 checker=$3 set=$4
rc=$(dirname "$0")/../resources/setcheck.rc
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "$*"; exit 1; }
cd "$tmp" || exit 1
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Test Root" -keyout ca.key -out ca.pem -days 2 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Zyne Systems" -keyout key.pem -out req.pem 2>/dev/null
printf 'keyUsage=digitalSignature\nextendedKeyUsage=codeSigning\n' >ext
openssl x509 -req -in req.pem -CA ca.pem -CAkey ca.key -set_serial 7 -days 2 -extfile ext -out cert.pem 2>/dev/null ||
    fail "no certificate made"
for copy in unsigned a b mixed; do cp -r "$set" $copy; done
SIGN_CERT=cert.pem SIGN_KEY=key.pem "$sign" a b >/dev/null || fail "signing failed"
for f in SETUP.EXE VANTREL.EXE VANTREL.DLL; do
    osslsigncode verify -CAfile ca.pem -in a/$f >log 2>&1 || { cat log; fail "$f does not verify"; }
    cmp a/$f b/$f || fail "$f: two signings differ"
    osslsigncode remove-signature -in a/$f -out $f >/dev/null && cmp $f unsigned/$f || fail "$f: unsigned, not the build's"
done

# the signed set's single program, signed itself (its launcher beside dist/)
"$(dirname "$sign")/single-file" "$(dirname "$set")/../Launcher.exe" a single.exe || fail "no single program"
SIGN_CERT=cert.pem SIGN_KEY=key.pem "$sign" single.exe >/dev/null || fail "signing single.exe failed"
osslsigncode verify -CAfile ca.pem -in single.exe >log 2>&1 || { cat log; fail "single.exe does not verify"; }

dest=$("$run" --prefix)/drive_c/SignTest
for program in a/SETUP.EXE single.exe; do
    "$run" "$tmp/$program" /S '/D=C:\SignTest' || fail "the signed $program installed with exit code $?"
    [ -f "$dest/VANTREL.EXE" ] || fail "nothing installed in $dest"
    "$run" "$dest/SETUP.EXE" /S /uninstall || fail "the signed setup removed with exit code $?"
    for i in 1 2 3 4 5 6 7 8 9 10; do [ -d "$dest" ] && sleep 1; done
    [ ! -d "$dest" ] || { rm -rf "$dest"; fail "the player's folder stays after removal"; }
done

# one byte of the signed engine changed; the host signed by someone else
cp b/VANTREL.EXE b/VANTREL.DLL mixed/
byte=$(od -An -tu1 -j1024 -N1 a/VANTREL.DLL)
printf "\\$(printf %o $(((byte + 1) % 256)))" | dd of=a/VANTREL.DLL bs=1 seek=1024 conv=notrunc 2>/dev/null
SIGN_CERT=ca.pem SIGN_KEY=ca.key "$sign" mixed/VANTREL.EXE >/dev/null || fail "signing as another failed"
# a message of the string table, as the checker prints it for SET's FILE: $1 id, $2 set, $3 file, $4 %2
line() {
    text=$(sed -n "s/^ *$1 *\"\(.*\)\"\$/\1/p" "$rc" | sed "s/\"\"/\"/g; s/%1/$3/; s/%2/$4/")
    echo "$2\\SETUP.INI:$(grep -n "^$3=" "$set/SETUP.INI" | cut -d: -f1): $5: $text"
}
{
    line IDS_CHECK_SIGNATURE_BROKEN a VANTREL.DLL "" error
    line IDS_CHECK_PUBLISHERS mixed VANTREL.EXE "Test Root" warning
    line IDS_CHECK_UNSIGNED_MIXED mixed SETUP.EXE "" warning
    for f in VANTREL.EXE VANTREL.DLL SETUP.EXE; do line IDS_CHECK_UNSIGNED unsigned $f "" error; done
} >want
"$run" "$checker" a b mixed >raw
status=$?
"$run" "$checker" /signed b unsigned >>raw
status="$status $?"
tr -d '\r' <raw | diff -u want - || fail "the checker's lines differ (- expected, + checker)"
[ "$status" = "1 1" ] || fail "the checker's exit codes $status, not 1 1"
echo "signed, verified, repeatable, removable; installed and removed; checked"
