#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package, from a built tree:
#   package_test.sh BUILD_DIR PROGRAM...
# 0. Every source file carries its SPDX licence line.
# 1. cmake --install into a scratch prefix: every program, its menu entry and its icons; the
#    menu entries start the programs through station-start in the station folder ~/Station (a
#    scratch home here), tavrin leaves nothing loose in the home folder, and rigsim, in its own
#    folder, leaves the user's com1 link to a cable as it was.
# 2. cpack -G DEB: the package's control fields, its file list and the extracted files; the
#    manual pages render without a warning, lintian finds no error and no warning, and
#    appstreamcli accepts the AppStream metadata.
# 3. As root, and only when neither the package nor any of its programs is on the machine yet:
#    dpkg -i, start the installed programs (rigsim and tavrin talking over a pseudo-terminal,
#    dipole on its own), dpkg -r, and check that nothing of the package is left.
set -uo pipefail

build=$(cd "$1" && pwd)
shift
source=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
programs=("$@")
scratch=$(mktemp -d)
installed_by_us=no
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cleanup() {
  if [ "$installed_by_us" = yes ]; then
    timeout 120 dpkg -r station-suite >/dev/null 2>&1 || true
  fi
  for pid in $(jobs -p); do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

# Menu entry and icons of each program under a root ($1) laid out as the prefix ($2).
check_desktop_files() {
  local root=$1 prefix=$2
  local entry icon exec_line
  for program in "${programs[@]}"; do
    entry="$root$prefix/share/applications/station-$program.desktop"
    if [ ! -f "$entry" ]; then
      fail "no menu entry $entry"
      continue
    fi
    exec_line=$(sed -n 's/^Exec=//p' "$entry")
    [ "$exec_line" = "station-start $program" ] ||
      fail "$entry starts \"$exec_line\", not \"station-start $program\""
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$root$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
      fail "$entry names icon \"$icon\", which has no scalable icon"
    if [ -f "$root$prefix/share/icons/hicolor/48x48/apps/$icon.png" ]; then
      file -b "$root$prefix/share/icons/hicolor/48x48/apps/$icon.png" | grep -q 'PNG image data, 48 x 48' ||
        fail "icon $icon.png is not a 48x48 PNG"
    else
      fail "$entry names icon \"$icon\", which has no 48x48 icon"
    fi
    grep -q '^Type=Application$' "$entry" || fail "$entry is not an application entry"
    grep -q '^Categories=.*HamRadio;' "$entry" || fail "$entry is not in the HamRadio menu"
    if command -v desktop-file-validate >/dev/null; then
      desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
    fi
  done
}

# The version at the head of the changelog ($1, gzip-compressed).
changelog_version() {
  zcat "$1" | dpkg-parsechangelog -l - -S Version 2>/dev/null
}

# What a manual page ($1) says, as text; man's and groff's warnings on an 80-column terminal go
# to $2 (the same call as lintian's). The text is set on very long lines, one paragraph a line, so that a phrase looked for
# is never broken or hyphenated.
render_page() {
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" \
    2>"$2" >/dev/null
  LC_ALL=C.UTF-8 MANWIDTH=1000 man -E UTF-8 -l "$1" 2>/dev/null | col -b
}

# The options that "rigsim --help" names ($1: the program): those in brackets on the usage
# lines and those that begin a line of their own.
rigsim_options() {
  "$1" --help | grep -o -E -- '(\[|^ *)--?[a-z][a-z-]*' | tr -d '[ ' | sort -u
}

# Manual pages, copyright, changelog and AppStream metadata under a root ($1) laid out as the
# prefix ($2).
check_documents() {
  local root=$1 prefix=$2
  local page text warnings doc metainfo id desktop image
  warnings="$scratch/man-warnings"
  for program in "${programs[@]}" station-start; do
    page="$root$prefix/share/man/man1/$program.1.gz"
    if [ ! -f "$page" ]; then
      fail "no manual page $page"
      continue
    fi
    file -b "$page" | grep -q '^gzip compressed data, max compression' ||
      fail "$page is not compressed with gzip -9"
    text=$(render_page "$page" "$warnings")
    [ ! -s "$warnings" ] || fail "man reports for $program(1): $(cat "$warnings")"
    grep -q "^ *$program - " <<<"$text" || fail "$program(1) has no NAME line for $program"
    for section in NAME SYNOPSIS DESCRIPTION FILES "EXIT STATUS" "SEE ALSO"; do
      grep -qx "$section" <<<"$text" || fail "$program(1) has no $section section"
    done
    case $program in
      tavrin | korvid | belmarq | quellport | quellportauto | rigsim)
        grep -q '/dev/ttyS' <<<"$text" || fail "$program(1) does not say how COMn maps to a device"
        ;;
    esac
    case $program in
      tavrin | korvid | belmarq)
        grep -q 'KESTRA\.INI' <<<"$text" || fail "$program(1) does not name KESTRA.INI"
        grep -q 'once a second' <<<"$text" || fail "$program(1) does not say a pulled cable is looked for"
        for phrase in 'Serial Devices' 'Find Transceiver' 'adduser' '~/Station'; do
          grep -qF "$phrase" <<<"$text" || fail "$program(1) does not mention $phrase"
        done
        ;;
    esac
    case $program in
      tavrin | korvid)
        grep -q 'port 4532' <<<"$text" || fail "$program(1) does not describe the Share menu"
        ;;
      bearing) grep -q 'Bearing\.ini' <<<"$text" || fail "bearing(1) does not name Bearing.ini" ;;
    esac
  done
  if [ -x "$root$prefix/bin/rigsim" ] && [ -f "$root$prefix/share/man/man1/rigsim.1.gz" ]; then
    text=$(render_page "$root$prefix/share/man/man1/rigsim.1.gz" /dev/null |
      sed -n '/^OPTIONS$/,/^[A-Z][A-Z ]*$/p')
    for option in $(rigsim_options "$root$prefix/bin/rigsim"); do
      grep -q -E -- "^ +(.*[ ,])?$option( |,|$)" <<<"$text" ||
        fail "rigsim(1) does not describe $option, which rigsim --help names"
    done
  fi

  doc="$root$prefix/share/doc/station-suite"
  if [ -f "$doc/copyright" ]; then
    head -n 1 "$doc/copyright" |
      grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
      fail "$doc/copyright is not in Debian's machine-readable format"
    grep -qx 'License: GPL-3+' "$doc/copyright" || fail "$doc/copyright names no GPL-3+ licence"
  else
    fail "no $doc/copyright"
  fi
  if [ -f "$doc/changelog.gz" ]; then
    [ "$(changelog_version "$doc/changelog.gz")" = "$version" ] ||
      fail "the changelog's latest entry is \"$(changelog_version "$doc/changelog.gz")\", not $version"
  else
    fail "no $doc/changelog.gz"
  fi
  if [ -f "$doc/README.md.gz" ]; then
    zgrep -q 'Find Transceiver' "$doc/README.md.gz" || fail "$doc/README.md.gz is not the README"
  else
    fail "no $doc/README.md.gz beside the copyright"
  fi

  for metainfo in "$root$prefix"/share/metainfo/*.metainfo.xml; do
    [ -f "$metainfo" ] || {
      fail "no AppStream metadata under $root$prefix/share/metainfo"
      continue
    }
    id=$(sed -n 's|^ *<id>\(.*\)</id>$|\1|p' "$metainfo")
    [ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "$metainfo does not hold $id"
    appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
      fail "appstreamcli rejects $metainfo: $(cat "$scratch/appstream.log")"
    desktop=$(sed -n 's|^ *<launchable type="desktop-id">\(.*\)</launchable>$|\1|p' "$metainfo")
    [ -f "$root$prefix/share/applications/$desktop" ] ||
      fail "$metainfo launches $desktop, which is not installed"
    grep -q "<release version=\"$version\"" "$metainfo" ||
      fail "$metainfo has no release $version"
    for image in $(sed -n 's|^ *<image>.*/docs/\(.*\)</image>$|\1|p' "$metainfo"); do
      [ -f "$source/docs/$image" ] || fail "$metainfo shows docs/$image, which docs/ lacks"
    done
  done
  [ -f "$root$prefix/share/metainfo/org.example.stationsuite.tavrin.metainfo.xml" ] ||
    fail "no AppStream metadata for tavrin"
}

echo "-- every source file names its licence"
if [ -d "$source/.git" ]; then
  while IFS= read -r file; do
    head -n 3 "$source/$file" | grep -q "SPDX-License-Identifier: GPL-3.0-or-later" ||
      fail "$file has no SPDX-License-Identifier line"
  done < <(git -C "$source" ls-files '*.cpp' '*.h' '*.py' '*.sh' '*CMakeLists.txt' 'scripts/*')
fi

echo "-- cmake --install into a scratch prefix"
prefix="$scratch/prefix"
if ! timeout 300 cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
  cat "$scratch/install.log" >&2
  fail "cmake --install failed"
fi
for program in "${programs[@]}" station-start; do
  [ -x "$prefix/bin/$program" ] || fail "cmake --install did not put $program in bin/"
done
check_desktop_files "" "$prefix"
check_documents "" "$prefix"

# A program started as its menu entry starts it: the Exec line, on the PATH of the prefix, in a
# home folder of its own.
start_as_menu() {
  local program=$1 seconds=$2
  (
    cd /
    export HOME="$scratch/home" PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=offscreen
    read -r -a command <<<"$(sed -n 's/^Exec=//p' "$prefix/share/applications/station-$program.desktop")"
    exec timeout "$seconds" "${command[@]}"
  ) >"$scratch/$program-menu.out" 2>&1
}
echo "-- programs started from their menu entries"
mkdir -p "$scratch/home/Station"
ln -s /dev/ttyUSB0 "$scratch/home/Station/com1"
start_as_menu rigsim 30 &
for _ in $(seq 100); do [ -L "$scratch/home/Station/Simulator/com1" ] && break; sleep 0.1; done
[ -L "$scratch/home/Station/Simulator/com1" ] ||
  fail "rigsim from its menu entry made no com1 link in ~/Station/Simulator"
[ "$(readlink "$scratch/home/Station/com1")" = /dev/ttyUSB0 ] ||
  fail "rigsim from its menu entry touched the user's com1 -> /dev/ttyUSB0"
kill %% 2>/dev/null
wait
[ "$(readlink "$scratch/home/Station/com1")" = /dev/ttyUSB0 ] ||
  fail "rigsim from its menu entry took away the user's com1 -> /dev/ttyUSB0 when it ended"
rm -rf "$scratch/home"
mkdir -p "$scratch/home"
# tavrin works in ~/Station (without KESTRA.INI it says so and waits on its box meanwhile).
start_as_menu tavrin 10 &
station=""
for _ in $(seq 80); do
  for pid in $(pgrep -x tavrin); do
    [ "$(readlink "/proc/$pid/cwd")" = "$scratch/home/Station" ] && station=yes
  done
  [ -n "$station" ] && break
  sleep 0.1
done
[ -n "$station" ] || fail "tavrin from its menu entry does not work in ~/Station"
kill %% 2>/dev/null
wait
loose=$(ls "$scratch/home")
[ "$loose" = Station ] || fail "tavrin from its menu entry left in the home folder: $loose"
rm -rf "$scratch/home"

echo "-- cpack -G DEB"
if ! timeout 300 cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/cpack" \
  >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack failed"
  exit 1
fi
package=$(find "$scratch/cpack" -maxdepth 1 -name 'station-suite_*.deb' | head -n 1)
if [ -z "$package" ]; then
  fail "cpack made no station-suite package"
  exit 1
fi
echo "package: $(basename "$package")"

field() { dpkg-deb -f "$package" "$1"; }
[ "$(field Package)" = station-suite ] || fail "package name is \"$(field Package)\""
[ -n "$version" ] && [ "$(field Version)" = "$version" ] ||
  fail "package version \"$(field Version)\" is not the project's \"$version\""
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
  fail "architecture \"$(field Architecture)\" is not this machine's"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ -n "$(field Description)" ] || fail "no description"
[ "$(field Section)" = hamradio ] || fail "section \"$(field Section)\" is not hamradio"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6serialport6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends \"$depends\" lacks $library"
done

contents=$(dpkg-deb -c "$package" | awk '{print $1, $NF}')
for program in "${programs[@]}" station-start; do
  grep -qx -- "-rwxr-xr-x ./usr/bin/$program" <<<"$contents" ||
    fail "the package has no executable usr/bin/$program"
done
# Only programs, menu entries, icons, manual pages, metadata and the package's documents: no
# libraries, headers or files outside /usr.
unexpected=$(awk '$1 !~ /^d/ {print $2}' <<<"$contents" |
  grep -v -E '^\./usr/(bin/[a-z-]+|share/applications/station-[a-z]+\.desktop|share/icons/hicolor/(scalable/apps/station-[a-z]+\.svg|48x48/apps/station-[a-z]+\.png)|share/man/man1/[a-z-]+\.1\.gz|share/metainfo/org\.example\.stationsuite\.[a-z]+\.metainfo\.xml|share/doc/station-suite/(copyright|changelog\.gz|README\.md\.gz))$')
[ -z "$unexpected" ] || fail "files the package should not hold: $unexpected"

root="$scratch/root"
dpkg-deb -x "$package" "$root"
check_desktop_files "$root" /usr
check_documents "$root" /usr
for program in "${programs[@]}"; do
  binary="$root/usr/bin/$program"
  [ -f "$binary" ] || continue
  file -b "$binary" | grep -q 'ELF.*, stripped' || fail "usr/bin/$program is not a stripped ELF"
  if readelf -d "$binary" | grep -E 'RPATH|RUNPATH' | grep -qF "$build"; then
    fail "usr/bin/$program looks for libraries in the build tree"
  fi
done
if [ -x "$root/usr/bin/rigsim" ]; then
  timeout 20 "$root/usr/bin/rigsim" --help | grep -q '^usage: rigsim' ||
    fail "the packaged rigsim does not run"
fi

# Debian's own checks of the package: informational (I:), pedantic (P:) and overridden (O:)
# tags may stay; an error or a warning fails.
echo "-- lintian"
if ! command -v lintian >/dev/null; then
  fail "lintian is not installed (scripts/install-packages installs it)"
elif ! timeout 300 lintian --fail-on none --info --tag-display-limit 0 "$package" \
  >"$scratch/lintian.log" 2>&1; then
  cat "$scratch/lintian.log" >&2
  fail "lintian did not run"
else
  cat "$scratch/lintian.log"
  ! grep -qE '^[EW]: ' "$scratch/lintian.log" || fail "lintian reports errors or warnings"
fi

# The rest installs system-wide.
if [ "$(id -u)" -ne 0 ]; then
  echo "-- not root: install and removal skipped"
  echo "failures: $failures"
  [ "$failures" -eq 0 ]
  exit
fi
if dpkg-query -W -f='${Status}' station-suite 2>/dev/null | grep -q 'ok installed'; then
  echo "-- station-suite is installed on this machine already: install and removal skipped"
  echo "failures: $failures"
  [ "$failures" -eq 0 ]
  exit
fi
for program in "${programs[@]}"; do
  if [ -e "/usr/bin/$program" ]; then
    echo "-- /usr/bin/$program exists already: install and removal skipped"
    echo "failures: $failures"
    [ "$failures" -eq 0 ]
    exit
  fi
done

echo "-- dpkg -i"
installed_by_us=yes
if ! timeout 300 dpkg -i "$package" >"$scratch/dpkg-i.log" 2>&1; then
  cat "$scratch/dpkg-i.log" >&2
  fail "dpkg -i failed"
fi
dpkg-query -W -f='${Status}' station-suite | grep -q 'install ok installed' ||
  fail "the package is not installed after dpkg -i"
for program in "${programs[@]}"; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not on the PATH"
done

echo "-- the installed programs start"
export QT_QPA_PLATFORM=offscreen
run="$scratch/run"
mkdir -p "$run"
printf 'KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n[CallSign] N0CALL\r\n[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n \r\nEND\r\n' >"$run/KESTRA.INI"
: >"$run/KESTRA.TXT"
(cd "$run" && exec timeout 60 rigsim --headless --log frames.log >rigsim.out 2>&1) &
for _ in $(seq 100); do [ -e "$run/com1" ] && break; sleep 0.1; done
if [ -e "$run/com1" ]; then
  # The splash stands 2 s, then tavrin synchronises with the transceiver; it keeps running.
  (cd "$run" && timeout 8 tavrin >tavrin.out 2>&1)
  status=$?
  [ "$status" -eq 124 ] || fail "the installed tavrin ended with status $status within 8 s"
  grep -qx 'FE FE 64 E0 19 00 FD' "$run/frames.log" 2>/dev/null ||
    fail "the installed rigsim saw no identity query from the installed tavrin"
else
  fail "the installed rigsim made no com1 link"
fi
(cd "$run" && timeout 3 dipole >dipole.out 2>&1)
status=$?
[ "$status" -eq 124 ] || fail "the installed dipole ended with status $status within 3 s"
kill %1 2>/dev/null
wait

echo "-- dpkg -r"
files=$(dpkg-query -L station-suite | while read -r path; do [ -d "$path" ] || echo "$path"; done)
if ! timeout 300 dpkg -r station-suite >"$scratch/dpkg-r.log" 2>&1; then
  cat "$scratch/dpkg-r.log" >&2
  fail "dpkg -r failed"
else
  installed_by_us=no
fi
if dpkg-query -W -f='${Status}' station-suite 2>/dev/null | grep -qv 'not-installed'; then
  fail "dpkg still knows station-suite: $(dpkg-query -W -f='${Status}' station-suite)"
fi
[ -n "$files" ] || fail "dpkg listed no files of the installed package"
for path in $files; do
  [ ! -e "$path" ] || fail "$path is left after dpkg -r"
done

echo "failures: $failures"
[ "$failures" -eq 0 ]
