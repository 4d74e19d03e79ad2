#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Checks the form of the sources, which needs no build: clang-format (the repository's
# .clang-format) would leave every C and C++ file as it is, and shellcheck finds nothing of
# warning level or worse, and no unquoted expansion, in any shell script. Shows each file that
# fails and what is wrong in it, and then fails.
#
#   tools/lint.sh
set -eu
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages lint

# Tracked file names, one a line: split only at line ends, and expand no pattern in them.
IFS='
'
set -f
failed=""

for file in $(git ls-files '*.cpp' '*.h' '*.c'); do
    clang-format --dry-run --Werror "$file" || failed="$failed
  $file: not as clang-format lays it out (above; clang-format -i $file fixes it)"
done

# Each script alone: one shellcheck run over many files can leave out a finding that the
# file checked alone shows. -x follows sourced files, by the paths their source directives
# give from here, so that what those files set counts as set. shellcheck ranks an unquoted
# expansion (SC2086) only as a note, below warnings, yet it is what breaks a script on a name
# with a blank in it: it fails here too, and a list split on purpose says so on its line.
for file in $(git ls-files '*.sh' .ci/run); do
    warned=""
    shellcheck -x -S warning "$file" || warned=yes
    shellcheck -x -S info -i SC2086 "$file" || warned=yes
    [ -z "$warned" ] || failed="$failed
  $file: shellcheck finds fault with it (above)"
done

if [ -n "$failed" ]; then
    echo "lint: to fix:$failed" >&2
    exit 1
fi
echo "lint: clang-format and shellcheck find nothing"
