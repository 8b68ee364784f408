#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vernalith in the current folder (where its settings
# files live).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exec "$root/build/app/vernalith" "$@"
