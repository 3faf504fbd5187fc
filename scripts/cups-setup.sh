#!/usr/bin/env bash
# Prepares a PDF print queue for the printing tests: installs CUPS and cups-pdf when they are
# missing, starts the scheduler (there is no service manager here), adds the queue TDI-PDF
# and makes it the default. Safe to run again.
#
# Always exits 0. When CUPS cannot be made to work it prints "CUPS unavailable: <reason>",
# and writes the same line to the status file, so that the printing tests skip with it.
# On success the status file holds "ready <folder>" with the folder cups-pdf writes to.
set -u

queue=TDI-PDF
out_dir=${TDI_CUPS_PDF_DIR:-/var/spool/cups-pdf/TDI}
status_file=${TDI_CUPS_STATUS:-/tmp/tdi-cups.status}

unavailable() {
  echo "CUPS unavailable: $*"
  echo "CUPS unavailable: $*" >"$status_file" 2>/dev/null || true
  exit 0
}

have_cups() {
  command -v cupsd >/dev/null 2>&1 && command -v lpadmin >/dev/null 2>&1 &&
    [ -e /usr/lib/cups/backend/cups-pdf ]
}

install_cups() {
  have_cups && return 0
  command -v apt-get >/dev/null 2>&1 || unavailable "cups is not installed and apt-get is missing"
  [ "$(id -u)" = 0 ] || unavailable "cups is not installed and installing it needs root"
  export DEBIAN_FRONTEND=noninteractive
  # Recommends would bring avahi and colord, which nothing here needs.
  if ! apt-get install -y --no-install-recommends cups printer-driver-cups-pdf >/tmp/tdi-cups-apt.log 2>&1; then
    apt-get update >/tmp/tdi-cups-apt.log 2>&1 || true
    apt-get install -y --no-install-recommends cups printer-driver-cups-pdf >>/tmp/tdi-cups-apt.log 2>&1 ||
      unavailable "apt-get could not install cups printer-driver-cups-pdf (see /tmp/tdi-cups-apt.log)"
  fi
  have_cups || unavailable "cups-pdf backend still missing after installing"
}

# cups-pdf writes every job, also root's, into one known folder, the file named after the
# job's title (not the document's, which it would otherwise prefer).
configure_cups_pdf() {
  local conf=/etc/cups/cups-pdf.conf
  mkdir -p "$out_dir" || unavailable "cannot create $out_dir"
  chmod 0777 "$out_dir"
  [ -f "$conf" ] || unavailable "$conf is missing"
  local key
  set_conf "$conf" Out "$out_dir"
  set_conf "$conf" AnonDirName "$out_dir"
  set_conf "$conf" TitlePref 1
  set_conf "$conf" Label 0
}

set_conf() {
  local conf=$1 key=$2 value=$3
  if grep -Eq "^[#[:space:]]*$key[[:space:]]" "$conf"; then
    sed -i -E "s|^[#[:space:]]*$key[[:space:]].*|$key $value|" "$conf"
  else
    echo "$key $value" >>"$conf"
  fi
}

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

start_cupsd() {
  scheduler_running && return 0
  mkdir -p /run/cups
  cupsd >/tmp/tdi-cupsd.log 2>&1 || unavailable "cupsd failed to start (see /tmp/tdi-cupsd.log)"
  local i
  for i in $(seq 1 50); do
    scheduler_running && return 0
    sleep 0.2
  done
  unavailable "cupsd started but the scheduler does not answer"
}

add_queue() {
  if ! lpstat -p "$queue" >/dev/null 2>&1; then
    local ppd
    ppd=$(find /usr/share/ppd /usr/share/cups/model -name 'CUPS-PDF_opt.ppd*' 2>/dev/null | head -n 1)
    [ -n "$ppd" ] || ppd=$(find /usr/share/ppd /usr/share/cups/model -name 'CUPS-PDF*.ppd*' 2>/dev/null | head -n 1)
    [ -n "$ppd" ] || unavailable "no cups-pdf PPD found"
    lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" >/tmp/tdi-lpadmin.log 2>&1 ||
      unavailable "lpadmin could not add $queue (see /tmp/tdi-lpadmin.log)"
  fi
  # A failed job must not stop the queue for the jobs after it.
  lpadmin -p "$queue" -o printer-error-policy=abort-job >/dev/null 2>&1 || true
  cupsenable "$queue" >/dev/null 2>&1 || true
  cupsaccept "$queue" >/dev/null 2>&1 || true
  lpadmin -d "$queue" >/dev/null 2>&1 || unavailable "cannot make $queue the default printer"
  lpstat -p "$queue" >/dev/null 2>&1 || unavailable "$queue is not listed after adding it"
}

install_cups
configure_cups_pdf
start_cupsd
add_queue
echo "ready $out_dir" >"$status_file" 2>/dev/null || true
echo "CUPS ready: queue $queue (default), PDF output in $out_dir"
