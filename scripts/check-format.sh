#!/bin/sh
# Fails when a C++ file of the project differs from what clang-format makes of it.
cd "$(dirname "$0")/.." || exit 2
files=$(git ls-files '*.cpp' '*.h')
[ -n "$files" ] || exit 0
# shellcheck disable=SC2086
if ! clang-format --dry-run --Werror $files; then
    echo "check-format: run clang-format -i on the files above" >&2
    exit 1
fi
