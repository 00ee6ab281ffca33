#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
# With --fix, formats them in place instead.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
mode=(--dry-run --Werror)
[ "${1:-}" = "--fix" ] && mode=(-i)
# The shader sources keep the .cpp suffix the demo loads them by; they are GLSL.
git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' '*.hpp' '*.c' ':!data/cgeffects/*' | xargs -0 -r clang-format --style=file "${mode[@]}"
