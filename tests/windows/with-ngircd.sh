#!/usr/bin/env bash
# Runs a Windows test under Wine beside Debian's ngircd (unpacked by
# scripts/setup-irc.sh), started here on free loopback ports with a
# configuration and certificates of its own: a test CA that signed the
# server's certificate, and another CA that did not. The test learns them
# from ZORVEL_IRC_PORT, ZORVEL_IRC_TLS_PORT, ZORVEL_IRC_CA and
# ZORVEL_IRC_OTHER_CA (the CAs as Wine names them); every connection gives
# the server password ZORVEL_IRC_PASSWORD. ngircd dies with this script,
# however it ends.
#   with-ngircd.sh NGIRCD WINE_RUN TEST.exe [ARGS...]
set -euo pipefail
ngircd=$1 wine_run=$2
shift 2
if [ ! -x "$ngircd" ]; then
  echo "with-ngircd: no ngircd at $ngircd: scripts/setup-irc.sh unpacks it" >&2
  exit 1
fi

dir=$(mktemp -d)
server=""
finish() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  rm -rf "$dir"
}
trap finish EXIT

listens() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port() {
  local port
  for _ in $(seq 1 100); do
    port=$((20000 + $(od -An -N2 -tu2 /dev/urandom) % 40000))
    listens "$port" || { echo "$port"; return 0; }
  done
  return 1
}

certificates() {
  printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\n' >ext.cnf
  openssl genpkey -genparam -algorithm DH -pkeyopt group:ffdhe2048 -out dh.pem
  openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
    -subj "/CN=zorvel test CA"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout other.key -out other-ca.pem -days 2 \
    -subj "/CN=zorvel other CA"
  openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=127.0.0.1"
  openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem \
    -days 2 -extfile ext.cnf
}
(cd "$dir" && certificates) >"$dir/openssl.log" 2>&1 || {
  cat "$dir/openssl.log" >&2
  exit 1
}

port=$(free_port)
tls_port=$(free_port)
password="pw-$(od -An -N4 -tx4 /dev/urandom | tr -d ' ')"
echo "zorvel test server" >"$dir/motd"
cat >"$dir/ngircd.conf" <<CONF
[Global]
Name = irc.zorvel.test
Info = zorvel test server
AdminInfo1 = test
AdminInfo2 = test
AdminEMail = test@zorvel.test
Password = $password
Listen = 127.0.0.1
Ports = $port
MotdFile = $dir/motd
PidFile = $dir/ngircd.pid
[Limits]
MaxConnectionsIP = 0
MaxNickLength = 30
[Options]
PAM = no
Ident = no
DNS = no
[SSL]
CertFile = $dir/server.pem
KeyFile = $dir/server.key
DHFile = $dir/dh.pem
Ports = $tls_port
CONF
# The kernel ends ngircd when this script ends, even when it is killed.
setpriv --pdeathsig KILL "$ngircd" -n -f "$dir/ngircd.conf" >"$dir/ngircd.log" 2>&1 &
server=$!
for _ in $(seq 1 100); do
  listens "$port" && listens "$tls_port" && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
if ! listens "$port" || ! listens "$tls_port"; then
  echo "with-ngircd: ngircd did not start:" >&2
  cat "$dir/ngircd.log" >&2
  exit 1
fi

export ZORVEL_IRC_PORT=$port ZORVEL_IRC_TLS_PORT=$tls_port ZORVEL_IRC_PASSWORD=$password
export ZORVEL_IRC_CA="Z:$dir/ca.pem" ZORVEL_IRC_OTHER_CA="Z:$dir/other-ca.pem"
"$wine_run" "$@"
