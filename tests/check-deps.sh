#!/bin/sh
# check-deps.sh INSTALL_DEPS WORK: what the set-up asks apt for, with the
# package queries and the kernel stood in for. WORK is a folder of the build
# tree: the stand-ins are programs, and the temporary folder may be noexec.
set -u
deps=$1 work=$2
rm -rf "$work" && mkdir -p "$work/bin" "$work/tmp" || exit 1
fail() { echo "$*"; exit 1; }
# dpkg-query, dpkg, apt-get: each call noted; the packages of MISSING absent
cat >"$work/bin/stub" <<'STUB'
#!/bin/sh
[ "${0##*/}" = sudo ] && exec "$@"
printf "%s\n" "${0##*/} $*" >>"$CALLS"
[ "${0##*/}" = dpkg-query ] && case " $MISSING " in *" $3 "*) exit 1 ;; *) echo "install ok installed" ;; esac
exit 0
STUB
# the kernel: 32-bit programs exit as they should where RUNS32, never from a noexec TMPDIR
cat >"$work/bin/kernel" <<'STUB'
#!/bin/sh
[ -n "$NOEXEC" ] && case $1 in "$TMPDIR"/*) exit 126 ;; esac
[ "$RUNS32" = yes ] && [ -x "$1" ] && exit 42
exit 126
STUB
chmod +x "$work/bin/stub" "$work/bin/kernel"
for c in dpkg-query dpkg apt-get sudo; do ln -s stub "$work/bin/$c"; done
export CALLS="$work/calls" TMPDIR="$work/tmp" PATH="$work/bin:$PATH" INSTALL_DEPS_START="$work/bin/kernel"
# row NAME CALLS VAR=VALUE...: install-deps ends well having made just those calls
row() {
    name=$1 want=$2; shift 2
    : >"$CALLS"
    out=$(env RUNS32=yes MISSING= NOEXEC= BENCH_ARCH= "$@" "$deps" "$work/build" 2>&1) || fail "$name: exit $?: $out"
    got=$(grep -v '^dpkg-query' "$CALLS" | paste -sd ';' -)
    [ "$got" = "$want" ] || fail "$name: calls '$got'"
}
wine32="dpkg --print-foreign-architectures;dpkg --add-architecture i386;apt-get update -qq;apt-get install -y -q --no-install-recommends wine32:i386"
row "everything installed" ""
row "only 32-bit Wine missing" "$wine32" MISSING=wine32:i386
row "32-bit Wine, the temporary folder noexec" "$wine32" MISSING=wine32:i386 NOEXEC=yes
row "a kernel without 32-bit programs" "" MISSING=wine32:i386 RUNS32=no
row "BENCH_ARCH=x86_64" "" MISSING=wine32:i386 BENCH_ARCH=x86_64
echo "install-deps: nothing asked when all is there; 32-bit Wine asked for where it runs, noexec temporary folder or not"
