#!/usr/bin/env bash
# Measures one whole run, `numscan ff 16`, beside the plain C program, linked
# as usual, and hardened and linked as numscan is: instructions counted by
# callgrind, which repeats exactly, and wall time from hyperfine, which does
# not on a shared machine.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --workflow --preset bench >/dev/null
programs=(build/bench/numscan build/bench/bench/numscan_plain_c build/bench/bench/numscan_plain_c_static)

printf '%-42s %14s\n' "program (ff 16)" "instructions"
for program in "${programs[@]}"; do
    count=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "$program" ff 16 2>&1 >/dev/null |
        sed -n 's/.*Collected : *//p')
    printf '%-42s %14s\n' "$program" "$count"
done
echo
hyperfine --shell=none --warmup 50 --runs 1000 --style basic \
    "${programs[@]/%/ ff 16}"
