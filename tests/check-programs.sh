#!/bin/sh
# check-programs.sh imports OBJDUMP EXE...   every imported DLL is one the first Windows 95 and
#                                           NT 3.51 have and always take from their system
#                                           folder, none a C runtime library, no new-shell
#                                           function imported, and no program holds a
#                                           bench switch (NAME_TEST_...)
# check-programs.sh sizes EXE=LIMIT...       every program stays within its byte budget
# check-programs.sh deletes OBJDUMP EXE...   nothing can delete a whole tree: no program imports
#                                           or names a recursive delete, and only the
#                                           removal helper and the launcher remove a folder
#                                           (an empty one: they cannot list one)
set -u
what=$1; shift
rc=0
case $what in
imports)
    objdump=$1; shift
    # What the first Windows 95 and Windows NT 3.51 both have. A C runtime
    # library is not among them: it came with compilers, for applications to
    # bring along.
    first="kernel32.dll user32.dll gdi32.dll advapi32.dll comdlg32.dll shell32.dll ole32.dll version.dll lz32.dll"
    # Of those, the libraries Windows always takes from its system folder
    # (its known DLLs). Any other, version.dll among them, would be looked for
    # beside the program first, where a planted one could take its place:
    # such a library is loaded at run time by full path instead.
    known="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comdlg32.dll ole32.dll"
    for exe in "$@"; do
        allowed=$known
        case $(basename "$exe") in
        # the player host links its engine by ordinal
        Vantrel.exe) allowed="$allowed vantrel.dll" ;;
        # the removal helper and the launcher show no more than a message box
        Clearoot.exe | Launcher.exe) allowed="kernel32.dll user32.dll" ;;
        # the vendor's console tool ships in no install set: it runs on the
        # vendor's Windows, whose C runtime is a known DLL
        SetCheck.exe) allowed="$allowed msvcrt.dll" ;;
        esac
        table=$("$objdump" -p "$exe" | sed -n '/Import Tables/,/^The Export\|^The .rsrc\|^The .reloc/p')
        dlls=$(echo "$table" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
        if [ -z "$dlls" ]; then
            echo "$exe: no import table found"; rc=1; continue
        fi
        echo "$(basename "$exe"):" $dlls
        for d in $dlls; do
            case $d in
            msvc*.dll | crtdll.dll | ucrtbase*.dll | api-ms-win-crt-*.dll | libstdc++*.dll | libgcc*.dll)
                [ "$(basename "$exe")" = SetCheck.exe ] && [ "$d" = msvcrt.dll ] ||
                    { echo "  a C runtime library: $d"; rc=1; continue; } ;;
            esac
            case " $allowed " in
            *" $d "*) ;;
            *)  case " $first " in
                *" $d "*) echo "  not a system DLL (load it at run time by full path): $d" ;;
                *) echo "  not in the first Windows 95 and NT 3.51: $d" ;;
                esac
                rc=1 ;;
            esac
        done
        # the new shell's functions (SH...) are missing from NT 3.51's shell
        # library: they are looked up at run time
        shell=$(echo "$table" | awk '/DLL Name:/ { dll = tolower($3) }
            dll == "shell32.dll" && NF == 3 && $2 ~ /^[0-9]+$/ && $3 ~ /^SH/ { print $3 }')
        [ -z "$shell" ] || { echo "  imports the new shell's" $shell; rc=1; }
        seam=$(grep -aoE '[A-Z]+_TEST_[A-Z_]+' "$exe" | head -n 1)
        [ -z "$seam" ] || { echo "  holds a bench switch: $seam"; rc=1; }
    done ;;
deletes)
    objdump=$1; shift
    for exe in "$@"; do
        imports=$("$objdump" -p "$exe" | sed -n '/Import Tables/,/^The Export\|^The .rsrc\|^The .reloc/p' |
            awk 'NF == 3 && $2 ~ /^[0-9]+$/ { print $3 }')
        [ -n "$imports" ] || { echo "$exe: no imported functions found"; rc=1; continue; }
        # looked up at run time too: the name alone is enough to refuse
        tree=$(grep -aoE 'SHFileOperation[AW]?|RegDeleteTree[AW]|SHDeleteKey[AW]|SHDeleteDirectory' "$exe" | sort -u)
        [ -z "$tree" ] || { echo "$(basename "$exe"): names a recursive delete: $tree"; rc=1; }
        folder=$(echo "$imports" | grep -E '^RemoveDirectory')
        walk=$(echo "$imports" | grep -E '^FindFirstFile')
        case $(basename "$exe") in
        Clearoot.exe | Launcher.exe)
            [ -z "$walk" ] || { echo "$(basename "$exe"): lists folders ($walk)"; rc=1; } ;;
        *)
            [ -z "$folder" ] || { echo "$(basename "$exe"): removes folders ($folder)"; rc=1; } ;;
        esac
        echo "$(basename "$exe"): deletes with" $(echo "$imports" | grep -E 'Delete|Remove' | tr '\n' ' ')
    done ;;
sizes)
    for arg in "$@"; do
        exe=${arg%=*}; limit=${arg##*=}
        size=$(wc -c <"$exe")
        # a market's own build sits in a folder named after its language (de/)
        name=$(basename "$exe")
        case $(basename "$(dirname "$exe")") in [a-z][a-z]) name=$(basename "$(dirname "$exe")")/$name ;; esac
        printf '%-17s %7d bytes (budget %d)\n' "$name" "$size" "$limit"
        [ "$size" -le "$limit" ] || { echo "  over budget"; rc=1; }
    done ;;
*)
    echo "usage: $0 imports|deletes OBJDUMP EXE... | sizes EXE=LIMIT..." >&2; rc=2 ;;
esac
exit $rc
