#!/usr/bin/env bash
# install_test.sh BUILD_DIR VERSION: installs BUILD_DIR with DESTDIR and a prefix of its own,
# checks the installed tree and its changelog's version, and runs the installed launcher.
set -uo pipefail
build_dir=$1
version=$2
source "$(dirname "$0")/../../scripts/lib/package_checks.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=/opt/larkspin-test
tree=$scratch/root$prefix
failed=0
fail() { echo "FAILED: $*"; failed=1; }

DESTDIR=$scratch/root cmake --install "$build_dir" --prefix "$prefix" >/dev/null || fail "cmake --install"
check_installed_tree "$scratch/root" "$prefix" || fail "the installed tree"
zcat "$tree/share/doc/larkspin/changelog.gz" | head -n 1 | grep -qF "larkspin ($version)" ||
  fail "the changelog's latest entry is not version $version"

# The launcher makes ~/Larkspin (private under the usual umask too), puts the disclaimer there
# and runs the program in it (pwd stands in for the program here); a second start keeps the
# user's own disclaimer.
launcher=$tree/libexec/larkspin/larkspin-start
disclaimer=$tree/share/larkspin/disclaimer.txt
started_in=$(umask 022 && HOME=$scratch/home "$launcher" /bin/pwd "$disclaimer")
[ "$started_in" = "$scratch/home/Larkspin" ] || fail "the launcher ran the program in '$started_in'"
folder_mode=$(stat -c %a "$scratch/home/Larkspin")
[ "$folder_mode" = 700 ] || fail "the launcher made ~/Larkspin with mode $folder_mode"
cmp -s "$disclaimer" "$scratch/home/Larkspin/disclaimer.txt" || fail "the launcher did not put the disclaimer there"
echo "my own" >"$scratch/home/Larkspin/disclaimer.txt"
HOME=$scratch/home "$launcher" /bin/true "$disclaimer" || fail "the second start"
[ "$(cat "$scratch/home/Larkspin/disclaimer.txt")" = "my own" ] || fail "the launcher replaced the user's disclaimer"

exit $failed
