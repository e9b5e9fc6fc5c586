#!/usr/bin/env bash
# Runs one harness seeded from the document corpus for SECONDS (default 180),
# in one process (one core). Inputs are capped at 4 MB and a single
# allocation over 32 MB (8 times the cap) counts as a finding: the readers
# must bound what they allocate by what the input can hold. Keeps the grown
# corpus and any crash files in fuzz/work/NAME/.
# Usage: fuzz/run.sh cfb_reader [SECONDS] [corpus subfolder, default doc]
# The corpus is ../shared/corpus beside the project, or $FOLIUM_CORPUS.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
name="$1"; seconds="${2:-180}"; sub="${3:-doc}"
corpus="${FOLIUM_CORPUS:-$here/../../shared/corpus}"
work="$here/work/$name"
max_len=$((4 << 20))
malloc_mb="${FUZZ_MALLOC_MB:-32}"
mkdir -p "$work/corpus" "$work/crashes"
if [ -z "$(ls -A "$work/corpus")" ]; then
  find "$corpus/$sub" -type f -name '*.doc' -exec cp {} "$work/corpus/" \;
fi
"$here/out/${name}_fuzz" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 \
  -malloc_limit_mb="$malloc_mb" -artifact_prefix="$work/crashes/" "$work/corpus" 2>&1 |
  tee "$work/last-run.log" | tail -n 25
