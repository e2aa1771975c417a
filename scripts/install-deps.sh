#!/bin/sh
# Installs what building and running lumeview needs on Debian 12 and is
# not there yet: the i386 architecture, Wine, the mingw-w64 cross compiler,
# GoogleTest's sources, Xvfb, the screenshot tools and the help compiler.
set -eu

packages="cmake ninja-build wine wine32:i386 wine64 g++-mingw-w64-i686 binutils-mingw-w64-i686
mingw-w64-i686-dev googletest fonts-wine xvfb xauth imagemagick x11-utils fp-utils"

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
    as_root apt-get update -qq
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
