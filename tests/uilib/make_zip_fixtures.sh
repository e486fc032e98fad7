#!/usr/bin/env bash
# Makes the Info-ZIP archives the zip reader's tests read, from files made
# here: stored and deflated, plain and with a password.
# Usage: make_zip_fixtures.sh <output folder> <password>
set -euo pipefail
out=$1
password=$2
rm -rf "$out"
mkdir -p "$out/src/XML"
cd "$out/src"

seq 1 2000 > counting.txt
head -c 5000 /dev/urandom > noise.bin
# Exactly 1000 bytes each: one compresses well, one does not.
printf '%0999d\n' 0 | tr 0 a > k1000.txt
head -c 1000 /dev/urandom > r1000.bin
printf '<Window size="10,10"/>\n' > XML/main_dlg.xml
: > empty.txt

members=(counting.txt noise.bin k1000.txt r1000.bin XML/main_dlg.xml empty.txt)
zip -q -X -D -0 ../plain_stored.zip "${members[@]}"
zip -q -X -D -9 ../plain_deflated.zip "${members[@]}"
zip -q -X -D -0 -P "$password" ../crypt_stored.zip "${members[@]}"
zip -q -X -D -9 -P "$password" ../crypt_deflated.zip "${members[@]}"
