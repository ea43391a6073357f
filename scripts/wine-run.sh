#!/usr/bin/env bash
# Runs one Windows executable under the project's Wine prefix (the tests' emulator).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
