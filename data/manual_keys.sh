#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Writes the manual page with its KEYS section made from what the gauge's --help says, which
# the preset table makes, so that the two never disagree.
# Usage: manual_keys.sh KELVANE MANUAL OUTPUT (the line .\" KEYS ... stands for the section)
set -eu
"$1" --help | sed -n 's/^  \(F[0-9]*\)  *\(.*\)$/.TP\n.B \1\n\u\2./p' >"$3.keys"
sed -e "/^\.\\\\\" KEYS/{r $3.keys" -e 'd}' "$2" >"$3"
rm -f "$3.keys"
