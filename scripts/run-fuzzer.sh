#!/usr/bin/env bash
# run-fuzzer.sh FUZZER SEED_CORPUS WORKDIR SECONDS
# Runs a libFuzzer target for a bounded time; new inputs go to WORKDIR, the
# committed seeds are only read. Fails on any crash, leak or sanitizer report.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 secs=$4
mkdir -p "$work/corpus" "$work/artifacts"
exec "$fuzzer" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
  "$work/corpus" "$seeds"
