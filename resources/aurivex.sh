#!/bin/sh
# Starts the installed Aurivex on the user's own program directory
# (aurivex --home DIR, else $AURIVEX_HOME, else $XDG_DATA_HOME/Aurivex, else
# ~/.local/share/Aurivex). The provisioning tool lays the directory down on the
# first start and, on every later one, adds only what a newer version needs:
# it keeps every value and record already there.
here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")

# "--home DIR" comes first, as the autostart entry of a profile of its own
# writes it; what follows is the program's own command line.
home_option=
if [ "${1-}" = --home ]; then
  if [ -z "${2-}" ]; then
    echo "aurivex: --home needs a directory" >&2
    exit 2
  fi
  home_option=$2
  shift 2
fi

# The program finds the same default directory by itself; the directory is
# passed on only when the user chose it, so that only then the autostart entry
# the program writes names a directory of its own.
home=${home_option:-${AURIVEX_HOME:-}}
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

if [ -n "$home_option" ]; then
  exec "$prefix/lib/aurivex/Aurivex" --home "$home_option" "$@"
fi
exec "$prefix/lib/aurivex/Aurivex" "$@"
