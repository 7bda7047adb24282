#!/usr/bin/env bash
# Fails when a C++ file in src/, tests/, tools/, fuzz/ or bench/ differs from what .clang-format
# makes of it; `scripts/format-check.sh --fix` formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
mapfile -t files < <(git ls-files src tests tools fuzz bench | grep -E '\.(cpp|cc|h|hpp)$')
if [[ ${1:-} == --fix ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
clang-format --dry-run -Werror "${files[@]}"
echo "format: ${#files[@]} files formatted"
