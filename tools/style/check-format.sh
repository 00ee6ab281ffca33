#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
# With --fix, formats them in place instead.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
mode=(--dry-run --Werror)
[ "${1:-}" = "--fix" ] && mode=(-i)
git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' '*.hpp' '*.c' | xargs -0 -r clang-format --style=file "${mode[@]}"
