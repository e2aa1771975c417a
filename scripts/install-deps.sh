#!/bin/sh
# Installs what building and running lumeview needs on Debian 12 and is
# not there yet: the i386 architecture, Wine, the mingw-w64 cross compiler,
# GoogleTest's sources, Xvfb, the screenshot tools, the help compiler and the
# Python that mends its context table.
set -eu

packages="cmake ninja-build wine wine32:i386 wine64 g++-mingw-w64-i686 binutils-mingw-w64-i686
mingw-w64-i686-dev googletest fonts-wine xvfb xauth imagemagick x11-utils fp-utils python3"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# wine32:i386 can only be found once the architecture is known to dpkg.
dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    # A mirror caught mid-sync serves an index that does not match its
    # release file; try again a little later before giving up on it.
    release=""
    tries=0
    until as_root apt-get update -qq; do
        tries=$((tries + 1))
        if [ "$tries" -ge 3 ]; then
            # With one architecture's security index missing, its packages
            # would no longer match the other's. Take both from the release
            # itself so that wine32:i386 and wine64 stay of one version.
            release="$(. /etc/os-release && echo "$VERSION_CODENAME")"
            echo "apt-get update failed $tries times; installing from $release alone" >&2
            break
        fi
        sleep 20
    done
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        ${release:+-t "$release"} $missing
fi
