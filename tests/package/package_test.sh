#!/usr/bin/env bash
# Makes the Debian package from the build under test (or takes the one named by CORVANTA_DEB),
# unpacks it with dpkg -x into a temporary root and checks its control fields, its exact file
# list, the installed program and, when installed, the desktop validators.
#
#   package_test.sh BUILD_DIR SOURCE_DIR VERSION CPACK
set -euo pipefail

build=$1 source=$2 version=$3 cpack=$4
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail()
{
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

deb="${CORVANTA_DEB:-}"
if [[ -z "$deb" ]]; then
    if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log" >&2
        echo "FAIL: cpack could not make the package" >&2
        exit 1
    fi
    deb="$(find "$work/out" -maxdepth 1 -name '*.deb' | head -n 1)"
fi
[[ "$(basename "$deb")" == "corvanta_${version}_"*.deb ]] || fail "package file name: $(basename "$deb")"

# Control fields: the shared libraries come from dpkg-shlibdeps, the rest is declared.
dpkg-deb -f "$deb" >"$work/control"
field() { sed -n "s/^$1: //p" "$work/control"; }
[[ "$(field Package)" == corvanta ]] || fail "Package: $(field Package)"
[[ "$(field Version)" == "$version" ]] || fail "Version: $(field Version), project $version"
[[ "$(field Section)" == utils ]] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" == *@* ]] || fail "Maintainer: $(field Maintainer)"
# A summary line, then a long text of its own, with " ." for its empty lines.
sed -n '/^Description:/,/^[^ ]/p' "$work/control" | sed '${/^[^ ]/d}' >"$work/description"
summary="$(sed -n '1s/^Description: //p' "$work/description")"
[[ -n "$summary" && "$(sed -n 2p "$work/description")" == " Corvanta "* ]] ||
    fail "Description: $(cat "$work/description")"
grep -q '^ *$' "$work/description" && fail "Description has a blank line"
depends="$(field Depends)"
for package in libqt6widgets6 libqt6core6 libc6 qt6-qpa-plugins libqt6svg6 xdg-utils \
    shared-mime-info fonts-dejavu-core; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

# The exact file list: a stray or missing file is a packaging fault.
root="$work/root"
dpkg -x "$deb" "$root"
{
    echo usr/bin/corvanta
    echo usr/share/applications/org.example.corvanta.desktop
    echo usr/share/metainfo/org.example.corvanta.metainfo.xml
    echo usr/share/icons/hicolor/scalable/apps/org.example.corvanta.svg
    for size in 16 32 48 64 128 256; do
        echo "usr/share/icons/hicolor/${size}x${size}/apps/org.example.corvanta.png"
    done
    echo usr/share/man/man1/corvanta.1.gz
    # Whatever help documents the sources hold, without the folder's README and word list.
    if [[ -d "$source/docs/help" ]]; then
        (cd "$source/docs/help" && find . -type f ! -name 'README*' ! -name words.txt |
            sed 's|^\./|usr/share/corvanta/|')
    fi
} | sort >"$work/expected"
(cd "$root" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/actual"
diff -u "$work/expected" "$work/actual" >&2 || fail "file list differs (- expected, + in the package)"

# Every PNG is as large as the folder it lies in says.
for png in "$root"/usr/share/icons/hicolor/*x*/apps/*.png; do
    [[ -f "$png" ]] || continue
    size="$(basename "$(dirname "$(dirname "$png")")")"
    read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
    actual="$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))x$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))"
    [[ "$actual" == "$size" ]] || fail "icon $size is $actual"
done

# The installed program runs without a display for these, accepts Qt's options and refuses others.
program="$root/usr/bin/corvanta"
out="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version 2>&1)" ||
    fail "--version failed: $out"
[[ "$out" == "corvanta $version" ]] || fail "--version printed: $out"
out="$("$program" -platform offscreen -style Fusion --version 2>&1)" || fail "Qt options refused: $out"
[[ "$out" == "corvanta $version" ]] || fail "--version after Qt options printed: $out"
status=0
"$program" --no-such-option >/dev/null 2>&1 || status=$?
[[ "$status" == 2 ]] || fail "an unknown option exits $status, not 2"

# Files handed in from a file manager, and the man page that documents it.
grep -qx 'Exec=corvanta --add %F' "$root/usr/share/applications/org.example.corvanta.desktop" ||
    fail "the desktop entry lacks the Add To Corvanta action"
zcat "$root/usr/share/man/man1/corvanta.1.gz" | grep -q '^\.BI \\-\\-add ' ||
    fail "the man page does not describe --add"

grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.example.corvanta.metainfo.xml" ||
    fail "the metainfo's release is not $version"
zcat "$root/usr/share/man/man1/corvanta.1.gz" | grep -q "^\.TH CORVANTA 1 .*\"Corvanta $version\"" ||
    fail "the man page's header does not name version $version"

# The validators, as a desktop, a software centre and man see the files.
skipped=()
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/org.example.corvanta.desktop" >&2 ||
        fail "desktop-file-validate"
else
    skipped+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --strict --pedantic \
        "$root/usr/share/metainfo/org.example.corvanta.metainfo.xml" >&2 || fail "appstreamcli validate"
    appstreamcli validate-tree --no-net --strict "$root" >&2 || fail "appstreamcli validate-tree"
else
    skipped+=(appstreamcli)
fi
if command -v man >/dev/null; then
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/corvanta.1.gz" 2>&1 >/dev/null)"
    [[ -z "$warnings" ]] || fail "man --warnings: $warnings"
else
    skipped+=(man)
fi
if ((${#skipped[@]} > 0)); then
    echo "not installed, so not run: ${skipped[*]}"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed for $(basename "$deb")" >&2
    exit 1
fi
echo "package $(basename "$deb") checked"
