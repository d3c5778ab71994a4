#!/usr/bin/env bash
# Builds the .deb from the release build, checks it with lintian (any error
# or warning fails), installs it on this machine with apt-get (which resolves
# the dependencies dpkg-shlibdeps wrote), runs the installed rpn-cli, checks
# the desktop files landed where the desktop looks, and removes the package
# again, also when a check fails, leaving nothing behind. Run as root (or
# through sudo) after `cmake --workflow --preset release`.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${RPN_RELEASE_BUILD:-build/release}

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if dpkg-query -W -f='${Status}' rpn 2>/dev/null | grep -q "install ok installed"; then
    echo "check-deb: a package named rpn is already installed; not touching it" >&2
    exit 1
fi

rm -f "$build"/rpn_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/rpn_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "check-deb: expected one rpn_*.deb in $build" >&2; exit 1; }

depends=$(dpkg-deb -f "${debs[0]}" Depends)
echo "check-deb: Depends: $depends"
grep -q 'libc6' <<<"$depends" || { echo "check-deb: dpkg-shlibdeps found no libraries" >&2; exit 1; }

# Info tags are printed for the record; errors and warnings fail.
echo "check-deb: lintian ${debs[0]}"
lintian --fail-on error,warning --display-info "${debs[0]}" || {
    echo "check-deb: lintian reports errors or warnings" >&2
    exit 1
}

remove() { "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 remove -y rpn >/dev/null; }
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y "./${debs[0]}"
trap remove EXIT

expected=' 5.000000 00'
actual=$(/usr/bin/rpn-cli 2 ENTER 3 +)
if [ "$actual" != "$expected" ]; then
    echo "check-deb: /usr/bin/rpn-cli 2 ENTER 3 + printed '$actual', expected '$expected'" >&2
    exit 1
fi

for path in /usr/share/applications/io.github.rpn_calculator.rpn.desktop \
            /usr/share/metainfo/io.github.rpn_calculator.rpn.metainfo.xml \
            /usr/share/icons/hicolor/scalable/apps/rpn.svg \
            /usr/share/icons/hicolor/scalable/mimetypes/application-x-rpn-state.svg \
            /usr/share/doc/rpn/copyright /usr/share/doc/rpn/changelog.gz \
            /usr/share/man/man1/rpn.1.gz /usr/share/man/man1/rpn-cli.1.gz; do
    [ -f "$path" ] || { echo "check-deb: $path is not installed" >&2; exit 1; }
done
if [ -f /usr/share/mime/globs2 ] && ! grep -q ':application/x-rpn-state:\*\.rpn$' /usr/share/mime/globs2; then
    echo "check-deb: the MIME database does not know *.rpn after installing" >&2
    exit 1
fi
trap - EXIT
remove
# No conffiles and no postrm: dpkg forgets the package at once instead of
# keeping it in the "config files" state until a purge.
status=$(dpkg-query -W -f='${Status}' rpn 2>/dev/null || true)
if [ -e /usr/bin/rpn-cli ] || { [ -n "$status" ] && [[ "$status" != *" not-installed" ]]; }; then
    echo "check-deb: apt-get remove left rpn behind (status '$status')" >&2
    exit 1
fi
echo "check-deb: installed and removed ${debs[0]}; rpn-cli printed '$actual'"
