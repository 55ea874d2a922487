# Checks of what packaging/ installs, shared by scripts/test (on the .deb) and the install test
# of ctest (on `cmake --install`). Each prints what is wrong and fails when something is.

# check_installed_tree ROOT PREFIX: an install into PREFIX, found under ROOT (its DESTDIR), holds
# every file, its menu entry is valid and starts the launcher under PREFIX, its manual page
# formats without a warning and its icons have the sizes their folders name.
check_installed_tree() {
  local root=$1 prefix=$2 tree=$1$2 failed=0 file size
  for file in bin/larkspin libexec/larkspin/larkspin-start share/larkspin/disclaimer.txt share/larkspin/language.ini \
    share/applications/larkspin.desktop share/man/man1/larkspin.1.gz share/doc/larkspin/copyright \
    share/doc/larkspin/changelog.gz share/icons/hicolor/scalable/apps/larkspin.svg; do
    [ -f "$tree/$file" ] || { echo "missing: $prefix/$file"; failed=1; }
  done
  desktop-file-validate "$tree/share/applications/larkspin.desktop" || failed=1
  local exec_line="Exec=$prefix/libexec/larkspin/larkspin-start $prefix/bin/larkspin $prefix/share/larkspin/disclaimer.txt"
  grep -qxF "$exec_line" "$tree/share/applications/larkspin.desktop" || { echo "the menu entry lacks: $exec_line"; failed=1; }
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$tree/share/man/man1/larkspin.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "larkspin.1: $warnings"; failed=1; }
  for size in 48 128; do
    file="$tree/share/icons/hicolor/${size}x$size/apps/larkspin.png"
    file -b "$file" | grep -q "^PNG image data, $size x $size," || { echo "not a $size x $size PNG: $file"; failed=1; }
  done
  return $failed
}

# check_deb FILE: lintian finds no error in the package, and what it unpacks is a sound install
# into /usr.
check_deb() {
  local deb=$1 root failed=0
  lintian --fail-on error "$deb" || failed=1
  root=$(mktemp -d)
  dpkg-deb -x "$deb" "$root"
  check_installed_tree "$root" /usr || failed=1
  rm -rf "$root"
  return $failed
}
