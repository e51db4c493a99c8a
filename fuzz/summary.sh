#!/usr/bin/env bash
# Prints one Markdown table row per target from the logs of the last fuzz/run.sh:
# executions, coverage (cov/ft) at the end, corpus size, and what was found.
cd "$(dirname "$0")/.."
echo "| Target | Time | Executions | exec/s | cov | ft | Corpus (inputs/size) | Findings in the run |"
echo "|---|---|---|---|---|---|---|---|"
for log in build-fuzz/logs/fuzz_*.log; do
  t=$(basename "$log" .log)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  execs=$(grep -oE '^stat::number_of_executed_units: [0-9]+' "$log" | awk '{print $2}')
  [ -n "$execs" ] || execs=$(echo "$last" | grep -oE '^#[0-9]+' | tr -d '#')
  time=$(grep -oE '^Done [0-9]+ runs in [0-9]+ second' "$log" | awk '{print $5 " s"}')
  [ -n "$time" ] || time="stopped early"
  rate=$(echo "$last" | grep -oE 'exec/s: [0-9]+' | awk '{print $2}')
  cov=$(echo "$last" | grep -oE 'cov: [0-9]+' | awk '{print $2}')
  ft=$(echo "$last" | grep -oE 'ft: [0-9]+' | awk '{print $2}')
  corp=$(echo "$last" | grep -oE 'corp: [0-9]+/[0-9]+[a-zA-Z]*' | awk '{print $2}')
  found=$(grep -E 'PROPERTY BROKEN|^SUMMARY|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error' "$log" | head -2 | sed 's/|/\\|/g' | tr '\n' ' ')
  [ -n "$found" ] || found="none"
  echo "| $t | $time | $execs | $rate | $cov | $ft | $corp | $found |"
done
