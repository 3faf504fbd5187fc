#!/usr/bin/env bash
# Installs what is missing, builds the library and the demo host, and runs the host.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTDI_BUILD_TESTS=OFF -DTDI_BUILD_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target tdinvoice TDInvoiceReportsQVS
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ./build/release/host/tdinvoice selftest "$@"
