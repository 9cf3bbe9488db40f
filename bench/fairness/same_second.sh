#!/bin/sh
# Starts two fresh processes within the same clock second and shows that they
# roll different faces: each seed mixes the clock with entropy of its own
# process, so sharing the second must not mean sharing the rolls.
#
# usage: same_second.sh [path/to/alearo_fairness]
# Exits 0 when both processes started in one second and rolled differently,
# 1 when they rolled the same or never managed to start in the same second.
set -u

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../../build/bench/fairness/alearo_fairness}
attempts=5

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

attempt=1
while [ "$attempt" -le "$attempts" ]; do
    "$program" --first 20 --sides 6 >"$scratch/one" &
    one=$!
    "$program" --first 20 --sides 6 >"$scratch/two" &
    two=$!
    if ! wait "$one" || ! wait "$two"; then
        echo "alearo_fairness failed" >&2
        exit 1
    fi

    read -r _ second_one _ faces_one <"$scratch/one"
    read -r _ second_two _ faces_two <"$scratch/two"
    echo "process 1: $(cat "$scratch/one")"
    echo "process 2: $(cat "$scratch/two")"

    if [ "$second_one" = "$second_two" ]; then
        if [ "$faces_one" = "$faces_two" ]; then
            echo "Both started in second $second_one and rolled the same faces."
            exit 1
        fi
        echo "Both started in second $second_one and rolled differently."
        exit 0
    fi
    echo "The two started in different seconds; trying again ($attempt of $attempts)."
    attempt=$((attempt + 1))
done
echo "No attempt started both processes in the same second."
exit 1
