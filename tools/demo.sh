#!/usr/bin/env bash
# The main job: builds the emulator, makes a fresh device in ./device and
# runs the demo scenario on it (screenshots land in build/demo/).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh default --target phone >/dev/null
phone=build/bin/phone
export PHONE_DEVICE="${PHONE_DEVICE:-$PWD/device}"
shots=build/demo
rm -rf "$shots" && mkdir -p "$shots"
run() { echo "\$ phone $*"; "$phone" "$@"; echo; }
key='HKLM\Software\Orvane\Lumenrest'

run init --force --contacts demo/contacts.vcf
run contacts list
# The settings program, driven by its keys; Done writes the record.
mkdir -p "$shots/settings"
(cd "$shots/settings" && "$OLDPWD/$phone" run "$OLDPWD/demo/settings.scenario" --shots .)
echo
run reg get "$key"
run reg get 'HKCU\ControlPanel\Profiles'
run rewrite "Ring 8 916 123 45 67 <today> & 8 800 200-00-00"
(cd "$shots" && "$OLDPWD/$phone" run "$OLDPWD/demo/demo.scenario" --shots .)
echo
run reg set "$key" Disable dword:1
run sms +79161234567 "The rule client is off now"
echo "screenshots: $shots/"
