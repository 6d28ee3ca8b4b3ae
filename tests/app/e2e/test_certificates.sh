#!/usr/bin/env bash
# Makes the certificates of the HTTPS end-to-end runs in FOLDER, new on every run:
#   ca.der                     a test CA; its key is deleted once it has signed the two below
#   service.pem, service.key   for localhost, the host the HTTPS client is built for, by that CA
#   misnamed.pem, misnamed.key by that CA for another host
#   foreign.pem, foreign.key   for localhost, signed by itself
#   test_certificates.sh FOLDER
set -euo pipefail
mkdir -p "$1"
cd "$1"
rm -f ./*.pem ./*.key ./*.der

new_key=(-newkey rsa:2048 -nodes)
quiet() { "$@" 2>/dev/null; }

# server_certificate NAME HOST [ca]: NAME.pem and NAME.key for HOST, signed by the CA or by itself.
server_certificate() {
  local extensions="subjectAltName=DNS:$2
extendedKeyUsage=serverAuth"
  if [[ ${3:-} == ca ]]; then
    quiet openssl req "${new_key[@]}" -keyout "$1.key" -out "$1.csr" -subj "/CN=$2"
    quiet openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key \
      -set_serial "0x$(openssl rand -hex 8)" -days 2 -extfile <(echo "$extensions") -out "$1.pem"
    rm "$1.csr"
  else
    quiet openssl req -x509 "${new_key[@]}" -keyout "$1.key" -out "$1.pem" -days 2 -subj "/CN=$2" \
      -addext "subjectAltName=DNS:$2" -addext extendedKeyUsage=serverAuth
  fi
}

quiet openssl req -x509 "${new_key[@]}" -keyout ca.key -out ca.pem -days 2 \
  -subj "/CN=Velmora end-to-end test CA $(date +%s%N)" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
server_certificate service localhost ca
server_certificate misnamed sms.example.net ca
server_certificate foreign localhost
openssl x509 -in ca.pem -outform der -out ca.der
rm ca.key ca.pem
