#!/usr/bin/env bash
# Installs what is missing, builds and starts the game in the repository root, where its run-time files are.
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages
build_into build
cd "$VOIDSKIRMISH_ROOT"
exec build/voidskirmish
