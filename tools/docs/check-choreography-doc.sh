#!/usr/bin/env bash
# Fails when docs/choreography.md is not what the table tool prints now.
set -euo pipefail
tool=$1
page=$2
if ! "$tool" | diff -u "$page" -; then
  echo "docs/choreography.md is stale: regenerate it with $tool > docs/choreography.md" >&2
  exit 1
fi
