#!/usr/bin/env bash
# Installs the Bravura music font (SIL Open Font Licence) from the npm registry
# into tools/node_modules, where the symbol generator looks for it. The folder
# is git-ignored: only the generated bitmaps and the licence text are committed.
set -euo pipefail

tools_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
font_dir="$tools_dir/node_modules/@vexflow-fonts/bravura"

if [ -d "$font_dir" ] && [ -z "${FORCE:-}" ]; then
  echo "Bravura already installed in $font_dir"
  exit 0
fi

if ! command -v npm >/dev/null 2>&1; then
  echo "npm is needed to fetch the font (Debian package: npm)" >&2
  exit 1
fi

cd "$tools_dir"
npm install --no-save --no-package-lock --no-audit --no-fund --prefix "$tools_dir" @vexflow-fonts/bravura
echo "Bravura installed in $font_dir"
