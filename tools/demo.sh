#!/usr/bin/env bash
# The main job: builds the emulator, makes a fresh device in ./device and
# shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh default --target phone >/dev/null
phone=build/bin/phone
export PHONE_DEVICE="${PHONE_DEVICE:-$PWD/device}"
run() { echo "\$ phone $*"; "$phone" "$@"; echo; }

run init --force
# What the settings program would write when the user chooses Done.
run reg set 'HKLM\Software\Orvane\Lumenrest' ShowBubbles dword:1
run reg set 'HKLM\Software\Orvane\Lumenrest' CustomText 'sz:Delivered to @s!'
run reg set 'HKLM\Software\Orvane\Lumenrest' ExcludeProfile sz:Meeting
run reg get 'HKLM\Software\Orvane\Lumenrest'
run reg get 'HKCU\ControlPanel\Profiles'
run reg export 'HKCU\ControlPanel\Profiles'
