#!/usr/bin/env bash
# Installs what bench/measure.sh needs on top of the build's own packages: a
# process timer, the peer dice roller, a virtual X server for the start-up
# measure, GNU time for the peak memory and jq to read the figures the tools
# write. Safe to run again.
set -euo pipefail

exec "$(dirname "$0")/install-deps.sh" hyperfine rolldice xvfb xauth time jq
