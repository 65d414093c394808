#!/usr/bin/env bash
# Checks the desktop install and the Debian package from a build folder of
# its own: the desktop entry and the AppStream metadata pass their validators,
# `cmake --install` puts every file in its standard place, a bad install
# (missing icon, folder without write permission) stops with a message and
# installs nothing, and the .deb holds exactly the program, its entry, icons
# and metadata, depends on the Qt packages that carry its plugins, and starts.
# The release build's program module must also be laid out by a current list
# of the code a session runs (scripts/hot-code check).
#
#   scripts/package-check.sh [build-folder]    (default: build-package-check)
#
# With SERENITAP_PACKAGE_CHECK_SYSTEM=1 (as root) it also installs the package
# on this machine with apt-get, starts the program from its menu entry and
# removes the package again, checking that none of its files stays behind.
#
# Needs the packages of scripts/packages.txt (dpkg-dev, file, librsvg2-bin,
# desktop-file-utils, appstream).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package-check}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
id=com.quorvex.Serenitap
sizes=(16 22 24 32 48 64 128 256 512)

fail() { echo "package-check: FAILED: $*" >&2; exit 1; }
step() { echo "package-check: $*"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/serenitap-package-check.XXXXXX")
chmod 755 "$work"
moved_icon=""
cleanup() {
  # Puts back an icon taken away for the missing-file test.
  if [ -n "$moved_icon" ] && [ -f "$work/moved.png" ]; then mv "$work/moved.png" "$moved_icon"; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Where each file belongs, relative to the prefix (the program proper, the
# chart of My Progress, the dialogs' pictures and the voice are modules the
# program loads from lib/serenitap).
expected=(
  bin/serenitap
  lib/serenitap/serenitap_program.so
  lib/serenitap/serenitap_chart.so
  lib/serenitap/serenitap_pictures.so
  lib/serenitap/serenitap_speech.so
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/doc/serenitap/copyright
  share/icons/hicolor/scalable/apps/$id.svg
)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done

# Checks an installed tree (prefix = its usr folder).
check_tree() {
  local tree=$1 prefix=$2 file size
  for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || fail "$prefix/$file is missing or empty"
  done
  [ -x "$prefix/bin/serenitap" ] || fail "$prefix/bin/serenitap is not executable"
  for size in "${sizes[@]}"; do
    file="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ "$(identify -format '%m %wx%h' "$file")" = "PNG ${size}x${size}" ] \
      || fail "$file is not a ${size}x${size} PNG"
  done
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
  # --no-net: the validator would otherwise try to reach the home page.
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
  appstreamcli validate-tree --no-net "$tree" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli validate-tree"; }
  # The menu entry starts the installed program and shows the installed icon.
  local exec icon
  exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/share/applications/$id.desktop")
  icon=$(sed -n 's/^Icon=//p' "$prefix/share/applications/$id.desktop")
  [ "$exec" = serenitap ] && [ -x "$prefix/bin/$exec" ] || fail "Exec=$exec is not the installed program"
  [ "$icon" = "$id" ] || fail "Icon=$icon is not $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" \
    || fail "the metadata does not launch $id.desktop"
}

# Lists every file (not folder) below a folder, relative to it, sorted.
list_files() { (cd "$1" && find . -mindepth 1 ! -type d | sed 's|^\./||' | LC_ALL=C sort); }

step "configuring and building in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSERENITAP_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"

step "the program's module laid out with a current list of the code a session runs"
"$root/scripts/hot-code" check "$build" || fail "scripts/hot-code check"

step "validating the desktop entry and the metadata"
desktop-file-validate "$root/packaging/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$build/packaging/$id.metainfo.xml" || fail "appstreamcli validate"

step "cmake --install into a temporary folder"
cmake --install "$build" --prefix "$work/install/usr" >/dev/null
check_tree "$work/install" "$work/install/usr"
[ "$(list_files "$work/install/usr")" = "$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)" ] \
  || { list_files "$work/install/usr" >&2; fail "the install holds other files than expected"; }

# A failing install must say why and leave nothing behind.
expect_refused() {  # expect_refused <what> <pattern> <folder that must stay empty> <command...>
  local what=$1 pattern=$2 folder=$3
  shift 3
  if "$@" >"$work/refused.log" 2>&1; then
    cat "$work/refused.log" >&2
    fail "$what: the command succeeded"
  fi
  grep -q "$pattern" "$work/refused.log" || { cat "$work/refused.log" >&2; fail "$what: no clear message"; }
  if [ -e "$folder" ] && [ -n "$(find "$folder" -mindepth 1 -print -quit)" ]; then
    find "$folder" >&2
    fail "$what: something was installed anyway"
  fi
  step "  refused as it should: $what"
  grep -m1 "$pattern" "$work/refused.log" | sed 's/^/    /'
}

step "installs that must be refused"
mkdir -p "$work/readonly"
chmod 555 "$work/readonly"
if [ "$(id -u)" -eq 0 ]; then
  # Root may write anywhere: try as the unprivileged user nobody instead.
  chmod -R a+rX "$build" 2>/dev/null || true
  expect_refused "folder without write permission" "no permission to write" "$work/readonly" \
    setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$work" \
    cmake --install "$build" --prefix "$work/readonly/usr"
else
  expect_refused "folder without write permission" "no permission to write" "$work/readonly" \
    cmake --install "$build" --prefix "$work/readonly/usr"
fi
touch "$work/a-file"
expect_refused "prefix below a file" "is not a folder" "$work/a-file" \
  cmake --install "$build" --prefix "$work/a-file/usr"

moved_icon="$build/icons/hicolor/48x48/apps/$id.png"
mv "$moved_icon" "$work/moved.png"
expect_refused "missing icon (install)" "files are missing" "$work/missing" \
  cmake --install "$build" --prefix "$work/missing/usr"
rm -f "$build"/serenitap_*.deb
expect_refused "missing icon (package)" "files are missing" "$work/none" \
  sh -c "cd '$build' && cpack -G DEB"
ls "$build"/serenitap_*.deb >/dev/null 2>&1 && fail "missing icon (package): a package was made anyway"
mv "$work/moved.png" "$moved_icon"
moved_icon=""

step "building the Debian package"
(cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$build"/serenitap_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one serenitap_*.deb in $build"
deb=${debs[0]}
version=$(sed -n 's/^project(Serenitap VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ "$(basename "$deb")" = "serenitap_${version}_$(dpkg --print-architecture).deb" ] \
  || fail "unexpected package name $(basename "$deb")"
dpkg-deb --info "$deb" | sed 's/^/    /'

# Every file under /usr, and exactly the expected ones.
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./usr/||' | LC_ALL=C sort >"$work/deb-files"
if ! diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) "$work/deb-files"; then
  fail "the package holds other files than expected (above: - missing, + extra)"
fi

# Dependencies: computed from the binary, and they must bring the Qt plugins
# the program loads at run time (platforms, SVG icons and pictures).
depends=$(dpkg-deb --field "$deb" Depends)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for plugin in platforms/libqxcb.so platforms/libqoffscreen.so iconengines/libqsvgicon.so imageformats/libqsvg.so; do
  owner=$(dpkg -S "/usr/lib/$multiarch/qt6/plugins/$plugin" | cut -d: -f1 | head -n 1)
  [[ ", $depends," == *", $owner "* || ", $depends," == *", $owner,"* ]] \
    || fail "the Qt plugin $plugin comes from $owner, which the package does not depend on (Depends: $depends)"
done
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libqt6texttospeech6 libqt6charts6 libsqlite3-0 qt6-speech-speechd-plugin; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
# Spoken guidance: the speech service is recommended, not required.
[[ "$(dpkg-deb --field "$deb" Recommends)" == *speech-dispatcher* ]] \
  || fail "Recommends lacks speech-dispatcher: $(dpkg-deb --field "$deb" Recommends)"

step "unpacking the package (dpkg -x) and checking it"
dpkg -x "$deb" "$work/deb"
check_tree "$work/deb" "$work/deb/usr"

step "starting the packaged program (offscreen, 5 s)"
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
set +e
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
  timeout 5 "$work/deb/usr/bin/serenitap" >"$work/run.log" 2>&1
status=$?
set -e
# 124: still running when the time was up, so it started and waited for the user.
[ "$status" -eq 124 ] || { cat "$work/run.log" >&2; fail "the packaged program ended with status $status"; }

if [ "${SERENITAP_PACKAGE_CHECK_SYSTEM:-0}" = 1 ]; then
  step "installing the package on this machine with apt-get"
  [ "$(id -u)" -eq 0 ] || fail "SERENITAP_PACKAGE_CHECK_SYSTEM=1 needs root"
  cp "$deb" "$work/"
  (cd "$work" && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$(basename "$deb")") >/dev/null
  dpkg -L serenitap >"$work/installed"
  for file in "${expected[@]}"; do grep -qx "/usr/$file" "$work/installed" || fail "/usr/$file not installed"; done
  exec_line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")
  set +e
  HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
    timeout 5 sh -c "exec $exec_line" >"$work/run.log" 2>&1
  status=$?
  set -e
  [ "$status" -eq 124 ] || { cat "$work/run.log" >&2; fail "the program from the menu entry ended with status $status"; }
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q serenitap >/dev/null
  for file in "${expected[@]}"; do [ ! -e "/usr/$file" ] || fail "/usr/$file stayed after removal"; done
  [ ! -e /usr/share/doc/serenitap ] || fail "/usr/share/doc/serenitap stayed after removal"
  step "installed, started from its menu entry, removed without leftovers"
fi

step "all checks passed: $deb"
