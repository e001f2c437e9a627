#!/usr/bin/env bash
# Builds every fuzz target with clang (AddressSanitizer and UndefinedBehaviorSanitizer) into
# build-fuzz, makes the seed corpora from the project's fixtures and runs each target for SECONDS
# seconds, one after the other. Prints each target's executions and coverage; exits non-zero
# when any target reports a finding (the input is kept in build-fuzz/findings).
# Usage: fuzz/run.sh SECONDS [TARGET...]   (targets named like fuzz_zip_directory; default all)
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
build=${SCU_FUZZ_BUILD_DIR:-$here/build-fuzz}
all=(fuzz_ini fuzz_version_resource fuzz_wine_registry fuzz_key_values fuzz_zip_directory
  fuzz_xpd_extract fuzz_language_file fuzz_windows_text fuzz_parameters fuzz_command_line
  fuzz_desktop_exec fuzz_manager_settings)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCU_FUZZ=ON -DSCU_SANITIZE=ON -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" --target fuzz_targets -j"${JOBS:-$(nproc 2>/dev/null || echo 2)}"
bash "$here/fuzz/make-seeds.sh" "$build" "$build/seeds"

logs=$(mktemp -d)
findings=0
mkdir -p "$build/findings"
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  mkdir -p "$corpus" "$logs/tmp-$t"
  log=$logs/$t.log
  status=0
  TMPDIR=$logs/tmp-$t "$build/fuzz/$t" -max_total_time="$seconds" -timeout=30 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$t-" "$corpus" "$build/seeds/$t" \
    >"$log" 2>&1 || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 || true)
  if [ "$status" -ne 0 ] || grep -q '^==[0-9]*==ERROR\|runtime error:' "$log"; then
    findings=$((findings + 1))
    echo "$t: FINDING after ${runs:-?} executions (log $log):"
    grep -m 12 -A 12 'ERROR\|runtime error\|deadly signal\|fault' "$log" | head -n 40 || true
  else
    echo "$t: ${runs:-?} executions, ${coverage:-no coverage line}, no findings"
  fi
done
echo "logs: $logs"
[ "$findings" -eq 0 ]
