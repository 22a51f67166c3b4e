#!/bin/sh
# check-layers.sh ROOT: every #include "..." of the product's code stays
# within what its folder's layer may use. The map of the house:
#
#   layer       may use
#   base        (nothing: no Windows headers, builds natively)
#   framework   base
#   common      base framework
#   toolhelp    base framework
#   engine      base framework        (owners only; the stand-in of an outside library)
#   helper      base toolhelp
#   launcher    base               (the single-file setup's launcher)
#   setup       base framework common toolhelp
#   player      base framework common engine
#   tools/setcheck  base framework common toolhelp setup   (the vendor's set checker)
#
# Every folder may use itself. A program's resource header belongs to that
# program: resources/quillset.h to setup, resources/vantrel.h to player,
# resources/launcher.h to launcher.
set -u
root=${1:-.}
allowed() {
    case $1 in
    base) echo "base" ;;
    framework) echo "framework base" ;;
    common) echo "common base framework" ;;
    toolhelp) echo "toolhelp base framework" ;;
    engine) echo "engine base framework" ;;
    helper) echo "helper base toolhelp" ;;
    launcher) echo "launcher base" ;;
    setup) echo "setup base framework common toolhelp" ;;
    player) echo "player base framework common engine" ;;
    tools/setcheck) echo "tools/setcheck base framework common toolhelp setup" ;;
    esac
}
layers="base framework common toolhelp engine helper launcher setup player tools/setcheck"
owner_of_resource() {
    case $1 in
    quillset.h) echo setup ;;
    vantrel.h) echo player ;;
    setcheck.h) echo tools/setcheck ;;
    launcher.h) echo launcher ;;
    *) echo resources ;;
    esac
}

problems=$(for layer in $layers; do
    for file in "$root/$layer"/*.cpp "$root/$layer"/*.h "$root/$layer"/*.c; do
        [ -e "$file" ] || continue
        grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):.*"\([^"]*\)".*/\1 \2/' |
        while read -r line header; do
            home=
            if [ -e "$root/$layer/$header" ]; then
                home=$layer
            elif [ -e "$root/resources/$header" ]; then
                home=$(owner_of_resource "$header")
            else
                for l in $layers; do
                    [ -e "$root/$l/$header" ] && home=$l && break
                done
            fi
            if [ -z "$home" ]; then
                echo "${file#$root/}:$line: \"$header\" is in no folder of the product"
                continue
            fi
            case " $(allowed "$layer") " in
            *" $home "*) ;;
            *) echo "${file#$root/}:$line: $layer may not use $home (\"$header\")" ;;
            esac
        done
    done
done)
if [ -n "$problems" ]; then
    echo "$problems"
    exit 1
fi
echo "layers: every include within its layer"
