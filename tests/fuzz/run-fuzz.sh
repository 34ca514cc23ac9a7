#!/usr/bin/env bash
# One bounded fuzz run: copies the seed corpus into a scratch folder, runs the
# target on it for SECONDS on one core, and fails on any finding (the input
# is left in SCRATCH/findings/).
#   run-fuzz.sh TARGET SEEDS SCRATCH SECONDS
set -euo pipefail
target=$1 seeds=$2 scratch=$3 seconds=$4
rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/findings"
cp "$seeds"/* "$scratch/corpus/"
exec "$target" "$scratch/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$scratch/findings/"
