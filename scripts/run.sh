#!/usr/bin/env bash
# Installs what is needed, builds Alearo and starts it in the current folder,
# where it keeps its settings ("alear.dat") and writes "Results.txt".
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"

"$source_dir/scripts/install-deps.sh"
cmake -S "$source_dir" -B "$source_dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$source_dir/build" --parallel "$(nproc)" --target alearo
exec "$source_dir/build/ui/alearo" "$@"
