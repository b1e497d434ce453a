#!/usr/bin/env bash
# Runs one fuzz target: FUZZER CORPUS SEEDS [libFuzzer options]. New inputs
# are kept in CORPUS (created here); SEEDS, the repository's corpus, is only read.
set -euo pipefail
fuzzer=$1 corpus=$2 seeds=$3
shift 3
mkdir -p "$corpus"
exec "$fuzzer" "$@" "$corpus" "$seeds"
