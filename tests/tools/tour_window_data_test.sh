#!/usr/bin/env bash
# The screenshot tour's reading of the window sources (tools/tour/window_data.sh), against the
# real forms/data: unit positions through their containers, the windows' captions and sizes, and
# every window and unit that the tour names. Run from the repository root.
set -uo pipefail
source tools/tour/window_data.sh

# shellcheck source=tests/support/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# Unit centres are relative to the window's client area, through every container.
check "login 登录, in the window" "$(unit_centre login 登录)" "150 257"
check "main 搜索, in 分组框1" "$(unit_centre main 搜索)" "284 130"
check "top-up 删, in 分组框3" "$(unit_centre top_up 删)" "211 204"
check "registration 超级按钮1, in 分组框1" "$(unit_centre registration 超级按钮1)" "148 330"
check "a unit of another window" "$(unit_centre login 搜索)" ""
check "no such unit" "$(unit_centre login 不存在)" ""

# The tour finds windows by caption: seven windows, each with its own caption and a size.
captions=()
for file in "$windows_dir"/[0-9][0-9]_*.win; do
  name=$(basename "$file" .win)
  name=${name#[0-9][0-9]_}
  caption=$(window_caption "$name")
  check "$name has a caption" "$([[ -n $caption ]] && echo yes)" yes
  size=$(window_size "$name")
  check "$name has an outer size" "$([[ $size =~ ^[1-9][0-9]*\ [1-9][0-9]*$ ]] && echo yes)" yes
  captions+=("$caption")
done
check "windows" "${#captions[@]}" 7
check "distinct captions" "$(printf '%s\n' "${captions[@]}" | sort -u | wc -l)" 7

# Every unit the tour clicks or types into exists and lies inside its window's stored size.
while read -r name unit; do
  centre=$(unit_centre "$name" "$unit")
  read -r width height <<<"$(window_size "$name")"
  read -r x y <<<"$centre"
  check "the tour's $name $unit" \
    "$([[ -n $centre ]] && ((x > 0 && x < width && y > 0 && y < height)) && echo inside)" inside
done < <(sed -n -E 's/^[[:space:]]*(click_unit|type_into) ([a-z_]+) ([^ ]+).*/\2 \3/p' \
  tools/tour/screenshot-tour)
# ... and every window it waits for, pictures or closes has a source.
while read -r name; do
  check "the tour's window $name" "$([[ -f $(window_file "$name") ]] && echo found)" found
done < <(sed -n -E 's/^[[:space:]]*(wait_window|wait_gone|close_window|shoot [0-9]) ([a-z_]+).*/\2/p' \
  tools/tour/screenshot-tour | sort -u)

checks_summary
