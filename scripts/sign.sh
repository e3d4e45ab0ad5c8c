#!/usr/bin/env bash
# Signs ZORIZA.exe with Authenticode (SHA-256) through osslsigncode, then
# verifies the result. The certificate and its key belong to the person
# signing and are never kept in the repository. The signed file is written
# beside the output first and moved into place only once it has been signed
# and verified, so that a failure never leaves a half-written program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
  cat <<'EOF'
Usage: scripts/sign.sh KEY-SOURCE (--timestamp URL | --no-timestamp) [options] [INPUT [OUTPUT]]

Signs INPUT (default: build/win32/app/ZORIZA.exe) into OUTPUT (default: INPUT
itself, replaced only once signing and verification succeeded).

The certificate and key, one of:
  --pfx FILE                    a PKCS#12 file holding the certificate and the key
  --cert FILE --key FILE        a PEM (or DER) certificate and its private key
  --pkcs11-module LIB (--pkcs11-cert URI | --cert FILE) --key URI
                                a key in a token or smart card, through its PKCS#11
                                module; --pkcs11-engine FILE names the OpenSSL
                                engine when osslsigncode does not find its own
                                (Debian: libengine-pkcs11-openssl)
The key's password (or the token's PIN), never given on the command line:
  the environment variable ZORIZA_SIGN_PASSWORD, or --pass-file FILE

The timestamp, one of:
  --timestamp URL               an RFC 3161 timestamp server (may be repeated: the
                                next is tried when one does not answer)
  --no-timestamp                no timestamp: the signature then stops validating
                                when the certificate expires (tests, offline)

Other options:
  --url URL                     a web page about the program, shown in the signature
  --ca-file FILE                the trusted certificates (PEM) to verify the result
                                against (default: the system's)
  --help                        this text
EOF
}

fail() {
  echo "sign.sh: $*" >&2
  exit 1
}

need_value() {
  [ $# -ge 2 ] && [ -n "$2" ] || fail "$1 needs a value (see --help)"
}

pfx='' cert='' key='' pkcs11_module='' pkcs11_cert='' pkcs11_engine='' pass_file='' url='' ca_file='' no_timestamp=''
timestamps=() files=()
while [ $# -gt 0 ]; do
  case "$1" in
    --help|-h) usage; exit 0 ;;
    --pfx) need_value "$@"; pfx=$2; shift 2 ;;
    --cert) need_value "$@"; cert=$2; shift 2 ;;
    --key) need_value "$@"; key=$2; shift 2 ;;
    --pkcs11-module) need_value "$@"; pkcs11_module=$2; shift 2 ;;
    --pkcs11-cert) need_value "$@"; pkcs11_cert=$2; shift 2 ;;
    --pkcs11-engine) need_value "$@"; pkcs11_engine=$2; shift 2 ;;
    --pass-file) need_value "$@"; pass_file=$2; shift 2 ;;
    --timestamp) need_value "$@"; timestamps+=("$2"); shift 2 ;;
    --no-timestamp) no_timestamp=yes; shift ;;
    --url) need_value "$@"; url=$2; shift 2 ;;
    --ca-file) need_value "$@"; ca_file=$2; shift 2 ;;
    --) shift; files+=("$@"); break ;;
    -*) fail "unknown option $1 (see --help)" ;;
    *) files+=("$1"); shift ;;
  esac
done

[ ${#files[@]} -le 2 ] || fail "at most an input and an output file, got ${#files[@]} files"
input=${files[0]:-$root/build/win32/app/ZORIZA.exe}
output=${files[1]:-$input}

command -v osslsigncode >/dev/null || fail "osslsigncode is not installed (scripts/install-deps.sh installs it)"
[ -f "$input" ] || fail "no program to sign at $input (build the win32 preset first)"
[ -d "$(dirname "$output")" ] || fail "the output's folder $(dirname "$output") does not exist"

sign_args=()
if [ -n "$pfx" ]; then
  [ -z "$cert$key$pkcs11_module$pkcs11_cert$pkcs11_engine" ] || fail "--pfx holds the certificate and the key: give nothing else with it"
  [ -f "$pfx" ] || fail "no PKCS#12 file at $pfx"
  sign_args=(-pkcs12 "$pfx")
elif [ -n "$pkcs11_module" ]; then
  [ -n "$key" ] || fail "a token needs --key with the key's PKCS#11 URI"
  if [ -n "$pkcs11_cert" ] && [ -n "$cert" ]; then
    fail "give the token's certificate either as --pkcs11-cert or as --cert, not both"
  fi
  [ -n "$pkcs11_engine" ] && sign_args+=(-pkcs11engine "$pkcs11_engine")
  sign_args+=(-pkcs11module "$pkcs11_module")
  if [ -n "$pkcs11_cert" ]; then
    sign_args+=(-pkcs11cert "$pkcs11_cert")
  elif [ -n "$cert" ]; then
    [ -f "$cert" ] || fail "no certificate file at $cert"
    sign_args+=(-certs "$cert")
  else
    fail "a token needs --pkcs11-cert (or --cert) for the certificate"
  fi
  sign_args+=(-key "$key")
elif [ -n "$cert$key" ]; then
  [ -n "$cert" ] && [ -n "$key" ] || fail "a PEM pair needs both --cert and --key"
  [ -f "$cert" ] || fail "no certificate file at $cert"
  [ -f "$key" ] || fail "no key file at $key"
  [ -z "$pkcs11_cert$pkcs11_engine" ] || fail "--pkcs11-cert and --pkcs11-engine need --pkcs11-module"
  sign_args=(-certs "$cert" -key "$key")
else
  fail "no certificate given: use --pfx, --cert with --key, or a PKCS#11 token (see --help)"
fi

# The password reaches osslsigncode on its standard input or in the signer's
# own file: a command-line argument would show in every process listing.
password_from_env=
if [ -n "$pass_file" ]; then
  [ -r "$pass_file" ] || fail "cannot read the password file $pass_file"
  sign_args+=(-readpass "$pass_file")
elif [ -n "${ZORIZA_SIGN_PASSWORD+set}" ]; then
  password_from_env=yes
  sign_args+=(-readpass /dev/stdin)
fi

if [ ${#timestamps[@]} -gt 0 ]; then
  [ -z "$no_timestamp" ] || fail "give either --timestamp or --no-timestamp, not both"
  for server in "${timestamps[@]}"; do sign_args+=(-ts "$server"); done
elif [ -z "$no_timestamp" ]; then
  fail "no timestamp server given: use --timestamp URL (without a timestamp the signature stops" \
       "validating when the certificate expires; --no-timestamp signs without one anyway)"
fi
[ -z "$url" ] || sign_args+=(-i "$url")

verify_args=()
if [ -n "$ca_file" ]; then
  [ -f "$ca_file" ] || fail "no CA file at $ca_file"
  verify_args=(-CAfile "$ca_file")
fi

work=$(mktemp -d "$(dirname "$output")/.sign.XXXXXX" 2>/dev/null) ||
  fail "cannot write in the output's folder $(dirname "$output")"
trap 'rm -rf "$work"' EXIT
signed="$work/$(basename "$output")"

log="$work/osslsigncode.log"
if [ -n "$password_from_env" ]; then
  printf '%s' "$ZORIZA_SIGN_PASSWORD" | osslsigncode sign "${sign_args[@]}" -h sha256 -n ZORIZA \
    -in "$input" -out "$signed" >"$log" 2>&1 || status=$?
else
  osslsigncode sign "${sign_args[@]}" -h sha256 -n ZORIZA -in "$input" -out "$signed" </dev/null >"$log" 2>&1 ||
    status=$?
fi
if [ "${status:-0}" -ne 0 ] || [ ! -s "$signed" ]; then
  cat "$log" >&2
  fail "signing $input failed; nothing was written to $output"
fi

if ! osslsigncode verify "${verify_args[@]}" -in "$signed" >"$log" 2>&1; then
  cat "$log" >&2
  fail "the signed file does not verify; nothing was written to $output"
fi

chmod --reference="$input" "$signed"
mv -f "$signed" "$output"
echo "signed: $output"
