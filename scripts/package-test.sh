#!/usr/bin/env bash
# Installs the package build/kestrova_*.deb where nothing else is: a clean Debian root made by mmdebstrap from
# the package sources that apt uses here, and checks there, as a new user, that links print through the
# installed program (scripts/package-test-root.sh). The root, with the print system's and Xvfb's packages
# but nothing of Kestrova's, is kept as a tarball in BUILD/package-test/ and the packages apt downloads into
# it are kept beside it, so that a second run needs no download.
#
#   scripts/package-test.sh BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
work=$build/package-test
mkdir -p "$work/archives/partial"

deb=$(ls "$build"/kestrova_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "package-test: no package in $build (make package)" >&2; exit 1; }

# The sources apt uses here, and the release they serve.
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -s "$file" ] && grep -q '^[^#]' "$file" && sources+=("$file")
done
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
rootPackages=$(grep -v '^#' scripts/packages-package-root.txt | tr '\n' ',' | sed 's/,*$//')

key=$(cat "${sources[@]}" scripts/packages-package-root.txt | sha256sum | cut -c1-12)
tarball=$work/root-$suite-$key.tar
if [ ! -f "$tarball" ]; then
    echo "package-test: making a clean $suite root (once; kept as $tarball)"
    rm -f "$work"/root-*.tar
    # mmdebstrap tells a tarball by its name's ending.
    mmdebstrap --quiet --variant=apt --include="$rootPackages" --skip=cleanup/apt/lists \
        "$suite" "$work/making.tar" "${sources[@]}" >"$work/mmdebstrap.log" 2>&1 ||
        { cat "$work/mmdebstrap.log" >&2; exit 1; }
    mv "$work/making.tar" "$tarball"
fi

# An older version of the same package, so that the test can upgrade.
version=$(dpkg-deb -f "$deb" Version)
rm -rf "$work/older" && dpkg-deb -R "$deb" "$work/older"
sed -i "s/^Version: .*/Version: $version~older/" "$work/older/DEBIAN/control"
dpkg-deb --root-owner-group -Zgzip -b "$work/older" "$work/kestrova_older.deb" >/dev/null
rm -rf "$work/older"

root=$work/root
rm -rf "$root" && mkdir -p "$root"
tar -C "$root" -xf "$tarball"
trap 'rm -rf "$root"' EXIT
cp "$deb" "$root/tmp/kestrova_${version}_amd64.deb"
cp "$work/kestrova_older.deb" "$root/tmp/kestrova_older.deb"
cp scripts/print-system.sh scripts/socket-sink.py scripts/package-test-root.sh "$root/tmp/"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# The test runs in namespaces of its own: what it mounts and every process it starts end with it.
unshare --mount --pid --fork --propagation private sh -c '
    root=$0 archives=$1
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount --bind "$archives" "$root/var/cache/apt/archives"
    exec chroot "$root" env -i /tmp/package-test-root.sh "/tmp/kestrova_older.deb" "/tmp/$(basename "$2")"
' "$root" "$(realpath "$work/archives")" "kestrova_${version}_amd64.deb"
