#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root).
set -euo pipefail
packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev zlib1g-dev libpng-dev libgtest-dev libbenchmark-dev pkg-config)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync fails some index files; what did load
# is still used, and the install below says whether it was enough.
apt-get update -qq || echo "install-deps: apt-get update failed in part; going on with the lists it has" >&2
if ! apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  # Packages of two architectures must have the same version; when one
  # architecture's security index is missing, the release's own versions
  # are consistent.
  . /etc/os-release
  apt-get install -y -qq --no-install-recommends -t "$VERSION_CODENAME" "${missing[@]}"
fi
