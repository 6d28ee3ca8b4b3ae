#!/usr/bin/env bash
# The program as shipped: stripped to at most 3 MB, and still able to turn a crash address into a
# source line through the debug file that its debug link names; the crash box gives the address as
# an offset from the image base, which the README says to add to 0x400000.
#
#   shipped_program_test.sh NM ADDR2LINE OBJDUMP PROGRAM
set -uo pipefail

nm=$1 addr2line=$2 objdump=$3 program=$4
readonly largest=$((3 * 1024 * 1024))

size=$(stat -c %s "$program") || exit 1
if ((size > largest)); then
  echo "$program is $size bytes, more than $largest: is it stripped?"
  exit 1
fi
# The program has no symbols of its own: the address of its entry function comes from the debug
# file, and addr2line, given the program alone, must find that file and the line.
entry='velmora::runtime::programEntry()'
address=$("$nm" -C "$program.debug" | sed -n "s/^\([0-9a-f]*\) T $entry\$/\1/p")
if [[ -z $address ]]; then
  echo "$program.debug has no $entry"
  exit 1
fi
line=$("$addr2line" -e "$program" "0x$address")
if [[ $line != */app/program_entry.cpp:[0-9]* ]]; then
  echo "address 0x$address of $program resolves to '$line', not to app/program_entry.cpp"
  exit 1
fi
base=$("$objdump" -p "$program" | sed -n 's/^ImageBase[[:space:]]*//p')
if [[ $base != 00400000 ]]; then
  echo "$program has the image base $base, not the 0x400000 that the README adds crash offsets to"
  exit 1
fi
