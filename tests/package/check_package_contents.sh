#!/usr/bin/env bash
# Checks that the Debian package holds what an installed Alearo needs, every
# entry owned by root: the program and the terminal program, its desktop
# entry, its AppStream metadata, every icon size, the manual pages, the
# copyright file and the changelog. Names each path that is missing.
#
# usage: check_package_contents.sh path/to/alearo_VERSION_ARCH.deb
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 path/to/alearo_VERSION_ARCH.deb" >&2
    exit 2
fi
deb=$1

expected=(
    ./usr/bin/alearo
    ./usr/bin/alearo-dice
    ./usr/share/applications/org.example.alearo.desktop
    ./usr/share/metainfo/org.example.alearo.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/org.example.alearo.svg
    ./usr/share/man/man1/alearo.1.gz
    ./usr/share/man/man1/alearo-dice.1.gz
    ./usr/share/doc/alearo/copyright
    ./usr/share/doc/alearo/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/org.example.alearo.png")
done

# Columns of dpkg-deb -c: mode, owner/group, size, date, time, path.
listing=$(dpkg-deb -c "$deb")
paths=$(awk '{ print $6 }' <<<"$listing")

failed=0
for path in "${expected[@]}"; do
    if ! grep -qxF "$path" <<<"$paths"; then
        echo "MISSING from $deb: $path" >&2
        failed=1
    fi
done
if awk '$2 != "root/root" { found = 1; print "NOT OWNED BY ROOT: " $6 } END { exit !found }' \
    <<<"$listing" >&2; then
    failed=1
fi
if ! grep -qE '^-rwxr-xr-x .* \./usr/bin/alearo$' <<<"$listing"; then
    echo "NOT 0755: ./usr/bin/alearo" >&2
    failed=1
fi

if [ "$failed" -ne 0 ]; then
    echo "Package contents check FAILED for $deb" >&2
    exit 1
fi
echo "Package contents: all ${#expected[@]} expected paths present in $(basename "$deb")"
