#!/usr/bin/env bash
# Installs every Debian package Harmonet needs to build, test and run; with
# --bench, only what the benchmarks need beyond that.
# Does nothing when all of them are present; runs apt-get update only when
# something is missing. Must run as root (or through sudo).
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config git
  # Qt 6 widgets, its platform plugins (offscreen for tests, xcb for a desktop) and fonts
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins fonts-dejavu-core
  # built-in synthesizer and its General MIDI SoundFont
  libfluidsynth-dev timgm6mb-soundfont
  # system MIDI ports and the system mixer
  librtmidi-dev libasound2-dev
  # the audio files of the render tool and the export: WAV, FLAC, Ogg through
  # libsndfile, MP3 through LAME
  libsndfile1-dev libmp3lame-dev
  # choir scores of the test data, written as MIDI files by the tests
  lilypond
  # singing along: the voice's pitch, and the microphone through the sound server
  libaubio-dev libpulse-dev
  # guessing the character set of a song's texts
  libuchardet-dev
  # tests, benchmarks, fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  # loading both cores while the suite runs, to show the tests do not hang on timing
  stress
  # a private sound server for the tests of the system mixer and of live audio
  # (null sink, its monitor recorded with parec; ALSA reaches it through the pulse plugin)
  pulseaudio pulseaudio-utils libasound2-plugins
  # running the window without a display; screenshots; the X clients of the start-up
  # benchmark and of the tests that type real keys (XTEST)
  xvfb xauth libxcb1-dev libxcb-xtest0-dev
  # the script that writes the example song
  python3
  # installing: the menu entry's check and the Debian package's dependency list
  desktop-file-utils dpkg-dev
  # the interface in other languages: lupdate/lrelease and their CMake functions,
  # Qt's own dialogs translated
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  # the software-centre listing's check; a private session bus for the tests
  # of the desktop's media controls
  appstream dbus
)

if [ "${1:-}" = "--bench" ]; then
  packages=(
    # FluidSynth's command-line file renderer, the peer of the render benchmark
    fluidsynth
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
