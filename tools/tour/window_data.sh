# The screenshot tour's reading of the window data source (forms/data): each window's caption
# and outer size, and each unit's rectangle relative to the client area of its container.
# Sourced by tools/tour/screenshot-tour and its test; windows are named by their file
# (login for 01_login.win). Reads $windows_dir (default forms/data).

windows_dir=${windows_dir:-forms/data}

window_file() { printf '%s\n' "$windows_dir"/[0-9][0-9]_"$1".win; }

# window_caption NAME: the caption stored for the window (its P8 before the first unit).
window_caption() {
  awk '
    $1 == "unit" { exit }
    $1 == "P8" { match($0, /"[^"]*"/); print substr($0, RSTART + 1, RLENGTH - 2); exit }' \
    "$(window_file "$1")"
}

# window_size NAME: the stored outer width and height.
window_size() {
  awk '$1 == "unit" { exit } $1 == "rect" { print $4, $5; exit }' "$(window_file "$1")"
}

# unit_centre NAME UNIT: the unit's centre relative to the window's client area, through its
# containers; nothing when the window has no such unit.
unit_centre() {
  awk -v want="$2" '
    function quoted(line) { match(line, /"[^"]*"/); return substr(line, RSTART + 1, RLENGTH - 2) }
    $1 == "unit" { name = quoted($0) }
    $1 == "rect" && name != "" { rect[name] = $2 " " $3 " " $4 " " $5 }
    $1 == "in" && name != "" { container[name] = quoted($0) }
    END {
      if (!(want in rect)) exit
      split(rect[want], r, " ")
      x = int(r[3] / 2); y = int(r[4] / 2)
      for (n = want; n != ""; n = container[n]) {
        if (!(n in rect)) exit
        split(rect[n], r, " ")
        x += r[1]; y += r[2]
      }
      print x, y
    }' "$(window_file "$1")"
}
