#!/usr/bin/env bash
# Makes the Debian package from build/ and checks it: exactly the files listed in
# packaging/package-files.txt, the dependencies the program needs at run time, a changelog for
# this version, no error or warning from lintian, and a program that runs from the package's own
# files. Run after scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
rm -f build/tapbook_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/tapbook_*.deb)
echo "$deb: $(du -h "$deb" | cut -f1)"

# Files only (folders come with them), as paths from the root.
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >build/package-files.txt
diff -u packaging/package-files.txt build/package-files.txt

depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6widgets6 libsdl2-2.0-0 libmpg123 libjpeg62-turbo qt6-qpa-plugins fonts-noto-cjk; do
  [[ "$depends" == *"$needed"* ]] || { echo "Depends lacks $needed: $depends" >&2; exit 1; }
done

# Debian's own checks of a package: an error or a warning fails, informational remarks pass.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" || {
  echo "lintian finds errors or warnings in $deb" >&2
  exit 1
}

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked"
version=$(sed -n 's/^project(Tapbook VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$("$unpacked/usr/bin/tapbook" --version)" = "Tapbook $version" ]
changelog_version=$(zcat "$unpacked/usr/share/doc/tapbook/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$version" ] || {
  echo "packaging/changelog.in names version $changelog_version, the project is $version" >&2
  exit 1
}
echo "package checked"
