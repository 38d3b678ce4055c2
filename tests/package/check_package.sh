#!/bin/sh
# Builds the Debian package from a finished build and checks it: the files it
# holds (all under /usr, none of a user's), its dependencies, its desktop and
# AppStream metadata, Debian's own checks (lintian), and a clean install and
# removal in a private root.
#   check_package.sh BUILD_DIR
set -eu
build=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack"
}
deb=$(find "$work/out" -maxdepth 1 -name '*.deb')
[ -f "$deb" ] || fail "no package in $work/out"

dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's#/$##' >"$work/contents"
for expected in \
  ./usr/bin/aurivex \
  ./usr/lib/aurivex/Aurivex \
  ./usr/lib/aurivex/aurivex-provision \
  ./usr/lib/aurivex/aurivex-demo-portal \
  ./usr/lib/aurivex/modules/aurivex-web.so \
  ./usr/lib/aurivex/modules/aurivex-media.so \
  ./usr/share/aurivex/CambridgeBlue.she \
  ./usr/share/aurivex/aurivex.png \
  ./usr/share/aurivex/config.ini \
  ./usr/share/aurivex/endpoints.ini \
  ./usr/share/aurivex/帮助文件.html \
  ./usr/share/help/zh_CN/aurivex/帮助文件.html \
  ./usr/share/doc/aurivex/帮助文件.html \
  ./usr/share/doc/aurivex/copyright \
  ./usr/share/doc/aurivex/changelog.gz \
  ./usr/share/man/man1/aurivex.1.gz \
  ./usr/share/applications/aurivex.desktop \
  ./usr/share/icons/hicolor/16x16/apps/aurivex.png \
  ./usr/share/icons/hicolor/256x256/apps/aurivex.png \
  ./usr/share/metainfo/org.aurivex.Aurivex.metainfo.xml; do
  grep -qxF "$expected" "$work/contents" || fail "missing $expected"
done
outside=$(grep -v -e '^\./usr$' -e '^\./usr/' -e '^\.$' "$work/contents" || true)
[ -z "$outside" ] || fail "outside /usr: $outside"
! grep -q -e 'DataBase' -e '\.edb$' "$work/contents" || fail "record files in the package"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libqt6network6 libsqlcipher; do
  echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done

dpkg-deb --extract "$deb" "$work/root"
grep -qx 'Exec="/usr/bin/aurivex"' "$work/root/usr/share/applications/aurivex.desktop" ||
  fail "the menu entry does not start the launcher"
# The metadata, and the menu entry it names.
appstreamcli validate-tree --no-net "$work/root" || fail "AppStream metadata"

# Debian's own checks, every one of them: nothing but the overridden one
# (config.ini is GBK by design) is an error or a warning.
lintian -I --pedantic --show-overrides --fail-on none "$deb" >"$work/lintian" 2>&1 ||
  fail "lintian did not run: $(cat "$work/lintian")"
grep -v -e '^N:' -e 'running with root privileges' "$work/lintian" >"$work/tags" || true
overridden='O: aurivex: national-encoding [usr/share/aurivex/config.ini]'
grep -qxF "$overridden" "$work/tags" || fail "lintian: the override did not apply: $(cat "$work/lintian")"
reported=$(grep -E '^[EW]: ' "$work/tags" || true)
[ -z "$reported" ] || fail "lintian: $reported"
others=$(grep -v -x -F "$overridden" "$work/tags" || true)
[ -z "$others" ] || echo "lintian notes: $others"

# No maintainer scripts: installing and removing touch nothing but the files.
scripts=$(dpkg-deb --info "$deb" | grep -E '^ +[0-9]+ bytes, +[0-9]+ lines +\*? *(pre|post)(inst|rm)' || true)
[ -z "$scripts" ] || fail "maintainer scripts: $scripts"

# Install and remove in a private root: everything goes, nothing is left
# over, and a user's directory stays as it was.
admin="$work/sys/var/lib/dpkg"
mkdir -p "$admin/updates" "$admin/info" "$work/sys/home/user/.local/share/Aurivex"
: >"$admin/status"
echo kept >"$work/sys/home/user/.local/share/Aurivex/config.ini"
dpkg --root="$work/sys" --admindir="$admin" --force-not-root --force-depends \
  --force-script-chrootless --log=/dev/null -i "$deb" >"$work/dpkg.log" 2>&1 || {
  cat "$work/dpkg.log" >&2
  fail "dpkg -i"
}
[ -x "$work/sys/usr/bin/aurivex" ] || fail "not installed"
dpkg --root="$work/sys" --admindir="$admin" --force-not-root --force-depends \
  --force-script-chrootless --log=/dev/null --purge aurivex >"$work/dpkg.log" 2>&1 || {
  cat "$work/dpkg.log" >&2
  fail "dpkg --purge"
}
[ "$(cat "$work/sys/home/user/.local/share/Aurivex/config.ini")" = kept ] || fail "a user's directory changed"
left=$(find "$work/sys" -path "$admin" -prune -o -path "$work/sys/home" -prune -o -type f -print)
[ -z "$left" ] || fail "left after removal: $left"
echo "package OK: $(basename "$deb")"
