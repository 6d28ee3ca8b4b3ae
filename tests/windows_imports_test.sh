#!/usr/bin/env bash
# Fails when a Windows program or library we build imports a DLL that a bare Windows 7 or later
# does not have. Wine ships many DLLs that Windows lacks (zlib1.dll among them), so a program
# that needs one runs in every test under Wine and fails to start on Windows: only its import
# table tells.
#
# With --known-dlls, the files (the program as shipped) may import only the system's known DLLs:
# Windows loads those from its own folder whatever lies beside the program, while any other
# imported DLL is looked for in the program's folder first, where a file of its name may lie (the
# Downloads folder). The program loads every other library from the system folder by full path.
#
#   windows_imports_test.sh OBJDUMP [--known-dlls] FILE...
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

# The DLLs that every Windows from 7 to 11 lists as known DLLs (the KnownDLLs key of the session
# manager). COMCTL32, MSIMG32, WININET and WINMM are not among them.
known_dll() {
  case ${1,,} in
    advapi32.dll | clbcatq.dll | comdlg32.dll | difxapi.dll | gdi32.dll | imagehlp.dll) ;;
    imm32.dll | kernel32.dll | msctf.dll | msvcrt.dll | normaliz.dll | nsi.dll | ole32.dll) ;;
    oleaut32.dll | psapi.dll | rpcrt4.dll | sechost.dll | setupapi.dll | shell32.dll) ;;
    shlwapi.dll | user32.dll | wldap32.dll | ws2_32.dll) ;;
    *) return 1 ;;
  esac
}

objdump=$1
shift
allowed=windows_dll
reason="which Windows does not have"
if [[ ${1:-} == --known-dlls ]]; then
  allowed=known_dll
  reason="which is not a known DLL: a file of that name beside the program is loaded instead"
  shift
fi
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
    if ! $allowed "$dll"; then
      echo "$file imports $dll, $reason"
      status=1
    fi
  done
done
exit $status
