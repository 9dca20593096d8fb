#!/bin/sh
# Starts a local print system for the printing test: CUPS with a printer "PDF" served by
# cups-pdf, which turns every job into a PDF file, as the default printer. Installs what is
# missing first; running it again changes nothing.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh cups cups-client printer-driver-cups-pdf

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi

running() {
    lpstat -r 2>/dev/null | grep -qx "scheduler is running"
}

# Containers have no service manager: start the scheduler itself when it is not running.
if ! running; then
    $sudo /usr/sbin/cupsd
    tries=0
    until running; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "start-print-system: cupsd did not start" >&2
            exit 1
        fi
        sleep 0.1
    done
fi

# cups-pdf makes its queue only when CUPS was running as it was installed.
if ! lpstat -v PDF >/dev/null 2>&1; then
    model=$(lpinfo -m | awk '/CUPS-PDF_opt\.ppd/ { print $1; exit }')
    if [ -z "$model" ]; then
        model=$(lpinfo -m | awk '/CUPS-PDF/ { print $1; exit }')
    fi
    $sudo lpadmin -p PDF -E -v cups-pdf:/ -m "$model"
fi
$sudo cupsenable PDF
$sudo cupsaccept PDF
$sudo lpadmin -d PDF
echo "start-print-system: $(lpstat -r); default printer PDF ($(lpstat -v PDF))"
