# shellcheck shell=bash
# Shared by play.sh and test.sh (sourced, not run): installs the Debian packages that are missing and builds.

VOIDSKIRMISH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

VOIDSKIRMISH_PACKAGES=(
  cmake g++ make pkg-config python3 python3-pytest python3-pil
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev libgtest-dev libbenchmark-dev
  libcli11-dev libenet-dev libx11-dev libxrandr-dev libopenal-dev libtomlplusplus-dev
  xvfb xdotool x11-utils openbox xauth
)

# Asks apt only when something is missing, so a prepared machine starts at once and needs no network.
install_missing_packages() {
  local missing=() package
  for package in "${VOIDSKIRMISH_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return
  fi
  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# build_into FOLDER [CMAKE OPTIONS...]: configures and builds the whole project into FOLDER under the root.
build_into() {
  local folder=$1
  shift
  cmake -S "$VOIDSKIRMISH_ROOT" -B "$VOIDSKIRMISH_ROOT/$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$VOIDSKIRMISH_ROOT/$folder" -j"$(nproc)"
}
