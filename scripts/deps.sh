#!/usr/bin/env bash
# Debian 12 packages Corvanta needs. Sourced by run.sh, test.sh and package.sh; run on its own
# it checks every group, including the tools used for checks by hand.
#
#   corvanta_ensure_packages GROUP...   (groups: build run hand fuzz)
#
# As root the missing packages are installed; otherwise the apt-get line to run is printed
# and the function fails.

CORVANTA_BUILD_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev poppler-utils
    dpkg-dev file desktop-file-utils appstream man-db
    hunspell hunspell-en-us
    libxcb1-dev libxcb-xkb-dev libxcb-xtest0-dev libxxhash-dev
)
# dpkg-dev and file: CPack's Debian package and its dependencies from dpkg-shlibdeps; the other
# three check the package's desktop entry, metainfo and man page in the tests. hunspell checks
# the spelling of the help documents. The xcb packages read and switch the lock keys on X11.
# libxxhash-dev: the header of the hash that fingerprints the list files (compiled in).
# xdg-utils and shared-mime-info: the desktop's MIME types and default applications, which
# opening pointers relies on (and its tests, under a temporary desktop of their own). Printing
# uses CUPS's lp when it is there; the tests put a stand-in first in PATH.
CORVANTA_RUN_PACKAGES=(
    qt6-qpa-plugins libqt6widgets6 libqt6printsupport6 libqt6svg6 libqt6network6
    fonts-dejavu-core xdg-utils shared-mime-info libxcb1 libxcb-xkb1 libxcb-xtest0
)
# The GUI tests run on the offscreen platform and need nothing beyond the run packages.
# librsvg2-bin renders the committed icons (scripts/icons.sh).
CORVANTA_HAND_PACKAGES=(xvfb xdotool imagemagick librsvg2-bin)
# clang and its runtime carry libFuzzer for tests/fuzz/run.sh; the normal build replays the
# corpora without them.
CORVANTA_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

corvanta_package_installed()
{
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

corvanta_ensure_packages()
{
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "deps: dpkg-query not found; not a Debian system, so packages are not checked." >&2
        return 0
    fi

    local group wanted=() missing=() package
    for group in "$@"; do
        case "$group" in
        build) wanted+=("${CORVANTA_BUILD_PACKAGES[@]}") ;;
        run) wanted+=("${CORVANTA_RUN_PACKAGES[@]}") ;;
        hand) wanted+=("${CORVANTA_HAND_PACKAGES[@]}") ;;
        fuzz) wanted+=("${CORVANTA_FUZZ_PACKAGES[@]}") ;;
        *)
            echo "deps: unknown package group '$group' (use build, run, hand or fuzz)" >&2
            return 2
            ;;
        esac
    done

    for package in "${wanted[@]}"; do
        if ! corvanta_package_installed "$package"; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi

    echo "deps: missing Debian packages: ${missing[*]}" >&2
    if [[ "$(id -u)" -ne 0 ]]; then
        echo "deps: install them as root with:" >&2
        echo "  sudo apt-get update && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}" >&2
        return 1
    fi

    apt-get update || return 1
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" || return 1
}

# Run directly rather than sourced: check everything.
if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    set -euo pipefail
    if (($# == 0)); then
        set -- build run hand fuzz
    fi
    corvanta_ensure_packages "$@"
    echo "deps: all packages present."
fi
