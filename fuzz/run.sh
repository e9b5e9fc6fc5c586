#!/usr/bin/env bash
# Runs one harness seeded from the shared corpus for SECONDS (default 180),
# in one process (one core); a single allocation over 64 MB counts as a
# finding (inputs are about 1 MB). Keeps the grown corpus and any crash files in fuzz/work/NAME/.
# Usage: fuzz/run.sh cfb_reader [SECONDS] [corpus subfolder, default doc]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
name="$1"; seconds="${2:-180}"; sub="${3:-doc}"
work="$here/work/$name"
mkdir -p "$work/corpus" "$work/crashes"
if [ -z "$(ls -A "$work/corpus")" ]; then
  find "$here/../../shared/corpus/$sub" -type f -name '*.doc' -exec cp {} "$work/corpus/" \;
fi
"$here/out/${name}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb="${FUZZ_MALLOC_MB:-64}" \
  -artifact_prefix="$work/crashes/" "$work/corpus" 2>&1 | tee "$work/last-run.log" | tail -n 25
