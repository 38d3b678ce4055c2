#!/bin/sh
# Starts the installed Aurivex on the user's own program directory
# ($AURIVEX_HOME, else $XDG_DATA_HOME/Aurivex, else ~/.local/share/Aurivex).
# The provisioning tool lays the directory down on the first start and, on
# every later one, adds only what a newer version needs: it keeps every value
# and record already there.
here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")

# The program finds the same default directory by itself; AURIVEX_HOME is
# passed on only when the user chose it, so that only then the autostart
# entry the program writes names a directory of its own.
home=${AURIVEX_HOME:-}
if [ -z "$home" ]; then
  data_home=${XDG_DATA_HOME:-}
  case $data_home in
    /*) ;;
    *) data_home=$HOME/.local/share ;; # a relative value is invalid and ignored
  esac
  home=$data_home/Aurivex
fi

# A directory the tool cannot complete still gets the program, whose own
# messages then name what is missing; a start from the menu never ends silently.
"$prefix/lib/aurivex/aurivex-provision" --dir "$home" --template "$prefix/share/aurivex" ||
  echo "aurivex: $home could not be completed" >&2

exec "$prefix/lib/aurivex/Aurivex" "$@"
