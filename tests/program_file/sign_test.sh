#!/usr/bin/env bash
# Copies of the shipped ZORIZA.exe signed through scripts/sign.sh with a
# throwaway code-signing certificate. Each way of giving the key must yield a
# file that verifies against that certificate; the signed file must keep its
# version record and icon, still run under Wine, and stop verifying once one
# byte of its code changes. A signing that fails must leave an existing output
# as it was.
# Usage: sign_test.sh ZORIZA.exe ICON; ZORIZA_WINE_ROOT names the test prefixes'
# folder and PYTHON the interpreter.
set -uo pipefail
exe=${1:?usage: sign_test.sh ZORIZA.exe ICON}
icon=${2:?usage: sign_test.sh ZORIZA.exe ICON}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
python=${PYTHON:-python3}
unset ZORIZA_SIGN_PASSWORD  # each signing below gives its own
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

check() {
  local name=$1
  shift
  if "$@" >"$work/last.log" 2>&1; then
    echo "PASS $name"
  else
    echo "FAIL $name"
    sed 's/^/    /' "$work/last.log"
    failed=$((failed + 1))
  fi
}

# A self-signed leaf certificate for code signing, as a PEM pair and as a PFX.
password='throwaway pass'
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=ZORIZA test signer" \
  -addext "basicConstraints=critical,CA:FALSE" -addext "keyUsage=critical,digitalSignature" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/signer.key" -out "$work/signer.pem" \
  >"$work/openssl.log" 2>&1 &&
  openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -out "$work/signer.pfx" \
    -passout "pass:$password" >>"$work/openssl.log" 2>&1 ||
  { cat "$work/openssl.log"; echo "FAIL making the certificate"; exit 1; }

# Signs a copy of the program in place, as sign.sh does by default.
sign_copy() {
  local copy=$1
  shift
  mkdir -p "$(dirname "$copy")" && cp "$exe" "$copy" &&
    "$root/scripts/sign.sh" "$@" --no-timestamp --ca-file "$work/signer.pem" "$copy"
}
verifies() { osslsigncode verify -CAfile "$work/signer.pem" -in "$1"; }
does_not_verify() { ! verifies "$1"; }

# The ways of giving the key that need no token: a PFX whose password comes
# from the environment, and a PEM pair.
sign_with_pfx() { ZORIZA_SIGN_PASSWORD=$password sign_copy "$1" --pfx "$work/signer.pfx"; }
sign_with_pem() { sign_copy "$1" --cert "$work/signer.pem" --key "$work/signer.key"; }
for way in pfx pem; do
  check "signed_with_$way" "sign_with_$way" "$work/$way/ZORIZA.exe"
  check "verifies_signed_with_$way" verifies "$work/$way/ZORIZA.exe"
done
signed="$work/pfx/ZORIZA.exe"

check version_record_and_icon_kept "$python" "$here/check_program_file.py" --icon "$icon" "$signed"

runs_usage() {
  ZORIZA_RUN_TIMEOUT=120 "$root/tests/wine/run-in-prefix.sh" "$signed" '/?' >"$work/usage.txt" &&
    grep -qF 'ZORIZA.exe /?' "$work/usage.txt"
}
check runs_under_wine runs_usage

# One byte of the code (the first of the entry point) changed after signing.
flip_entry_byte() {
  "$python" - "$here" "$1" <<'EOF'
import sys
sys.path.insert(0, sys.argv[1])
from check_program_file import PeImage, u32
path = sys.argv[2]
data = bytearray(open(path, "rb").read())
optional_header = u32(data, 0x3C) + 24
entry = PeImage(bytes(data)).offset(u32(data, optional_header + 16))
data[entry] ^= 0xFF
open(path, "wb").write(data)
EOF
}
cp "$signed" "$work/tampered.exe"
check tampered_copy_made flip_entry_byte "$work/tampered.exe"
check tampered_copy_does_not_verify does_not_verify "$work/tampered.exe"

# A signing that succeeds but does not verify (against the system's roots,
# which lack the throwaway certificate): the output already there stays as it
# was, with nothing left beside it.
unverified_signing_keeps_output() {
  mkdir "$work/kept" && echo "earlier file" >"$work/kept/ZORIZA.exe" || return 1
  ! "$root/scripts/sign.sh" --cert "$work/signer.pem" --key "$work/signer.key" --no-timestamp \
      "$exe" "$work/kept/ZORIZA.exe" &&
    [ "$(cat "$work/kept/ZORIZA.exe")" = "earlier file" ] &&
    [ "$(ls -A "$work/kept")" = ZORIZA.exe ]
}
check failed_signing_keeps_output unverified_signing_keeps_output

[ "$failed" -eq 0 ] && echo "all passed" || echo "$failed failed"
[ "$failed" -eq 0 ]
