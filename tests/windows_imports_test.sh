#!/usr/bin/env bash
# Fails when a Windows program or library we build imports a DLL that a bare Windows 7 or later
# does not have. Wine ships many DLLs that Windows lacks (zlib1.dll among them), so a program
# that needs one runs in every test under Wine and fails to start on Windows: only its import
# table tells.
#
#   windows_imports_test.sh OBJDUMP FILE...
set -uo pipefail

# System DLLs of every Windows 7 or later that our programs and test programs use (VERSION for
# the test that reads the program's version resource).
windows_dll() {
  case ${1,,} in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msimg32.dll | wininet.dll | winmm.dll) ;;
    msvcrt.dll | ole32.dll | advapi32.dll | shell32.dll | ws2_32.dll | crypt32.dll | version.dll) ;;
    *) return 1 ;;
  esac
}

objdump=$1
shift
(($# > 0)) || { echo "no file to check"; exit 1; }
status=0
for file; do
  if ! headers=$("$objdump" -p "$file"); then
    echo "$file: cannot read its headers"
    status=1
    continue
  fi
  dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers")
  # Every Windows program imports at least KERNEL32; no names means the table was not read.
  if [[ -z $dlls ]]; then
    echo "$file: no imported DLL found"
    status=1
  fi
  for dll in $dlls; do
    if ! windows_dll "$dll"; then
      echo "$file imports $dll, which Windows does not have"
      status=1
    fi
  done
done
exit $status
