#!/usr/bin/env bash
# Installs what is missing, builds the library and the demo host, builds the demo database on
# first run and writes every demo invoice to invoices.pdf (arguments are passed to
# "tdinvoice pdf", e.g. --variant bpay).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTDI_BUILD_TESTS=OFF -DTDI_BUILD_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target tdinvoice TDInvoiceReportsQVS
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ./build/release/host/tdinvoice pdf invoices.pdf "$@"
