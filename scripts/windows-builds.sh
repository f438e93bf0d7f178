# Sourced by the scripts: the Windows builds, and which of them run on this machine as
# scripts/setup found out (build/windows-presets).
#   windows_presets      the presets whose programs run here, the 32-bit one first
#   windows_skipped      why the 32-bit build's programs are not run, when they are not
#   windows_arch PRESET  the Wine of a build: win32 or win64
#   windows_choose NAME  for a command NAME that runs one build: sets preset and exports WINEARCH
#                        (the 32-bit build where it runs), and says which in one line
windows_record=$(dirname "${BASH_SOURCE[0]}")/../build/windows-presets
if [ -f "$windows_record" ]; then
  source "$windows_record"
fi

windows_arch() {
  if [ "$1" = windows ]; then echo win32; else echo win64; fi
}

windows_choose() {
  preset=${windows_presets%% *}
  WINEARCH=$(windows_arch "$preset")
  export WINEARCH
  if [ "$preset" = windows ]; then
    echo "$1: the 32-bit Windows build (build/windows)" >&2
  else
    echo "$1: the 64-bit Windows build (build/windows64), as $windows_skipped" >&2
  fi
}
