# Shared by the scripts: the Debian packages Larkspin needs, installed when missing, and the build.

LARKSPIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Build tools, test frameworks, libraries, the real servers the integration tests run against, and
# the makers and checkers of the Debian package.
LARKSPIN_PACKAGES=(
  cmake g++ ninja-build pkg-config
  libgtest-dev libgmock-dev
  uuid-dev libssl-dev openssl
  dovecot-core dovecot-pop3d
  python3
  libwxgtk3.2-dev xvfb xauth xdotool imagemagick fonts-dejavu-core openbox x11-utils
  libnotify-dev dunst dbus-daemon dbus-bin
  dpkg-dev file desktop-file-utils man-db lintian
  libsecret-1-dev gnome-keyring libsecret-tools
  libxml2-dev
  libre2-dev
  libcurl4-openssl-dev nlohmann-json3-dev
  ghostscript poppler-utils
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs every listed package that is not installed yet (one apt-get update first).
ensure_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Node.js and npm run the real SMTP server of the tests. A machine may already have them from
# another source than Debian (whose npm package would clash with it), so look for the commands.
ensure_node() {
  command -v node >/dev/null && command -v npm >/dev/null && return 0
  ensure_packages nodejs npm
}

# configure_tree DIR [cmake options...]: configure one tree, once.
configure_tree() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$LARKSPIN_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  fi
}

# build_release [TARGET...]: the release tree; only the named targets and what they need, or
# everything (the tests too) when none is named.
build_release() {
  local dir=$LARKSPIN_ROOT/build/release targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  configure_tree "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$dir" -j 2 "${targets[@]}"
}

build_sanitized() {
  configure_tree "$LARKSPIN_ROOT/build/asan" -DCMAKE_BUILD_TYPE=Debug -DLARKSPIN_SANITIZE=ON
  cmake --build "$LARKSPIN_ROOT/build/asan" -j 2
}
