#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail
# fonts-liberation: the application font (Liberation Sans Narrow); qt6-translations-l10n: Qt's
# German texts for file dialogs and standard buttons; xvfb, xdotool, xclip: the test that runs the
# built program on a display of its own, types into it and ends it with a signal.
pakete=(cmake g++ make qt6-base-dev qt6-serialport-dev libgl-dev fonts-liberation qt6-translations-l10n
        xvfb xdotool xclip)
fehlt=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlt+=("$p")
done
if [ ${#fehlt[@]} -gt 0 ]; then
  echo "Installing: ${fehlt[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${fehlt[@]}"
fi
