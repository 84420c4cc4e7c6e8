#!/usr/bin/env bash
# Checks that every include in src/ runs down the layers:
#   foundation <- units <- fitting <- calibration <- window <- controls <- plotting <- dialogs <- dll
# (hostapi and resources sit below the foundation), and that the portable part of each subsystem
# (everything outside its win/ folder) reaches neither <windows.h> nor a win/ header nor the host
# interfaces. The link order of the libraries cannot catch a header-only upward include; this can.
# Prints each offending line and exits 1 when there is one.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root/src"

declare -A allowed=(
  [hostapi]="hostapi"
  [resources]="resources"
  [foundation]="foundation hostapi resources"
  [units]="units foundation hostapi resources"
  [fitting]="fitting units foundation hostapi resources"
  [multipointcalibration]="multipointcalibration fitting units foundation hostapi resources"
  [window]="window multipointcalibration fitting units foundation hostapi resources"
  [controls]="controls window multipointcalibration fitting units foundation hostapi resources"
  # plotting: the Set Scales dialog types its ranges into the controls' number edits.
  [plotting]="plotting controls window fitting units foundation hostapi resources"
  [dialogs]="dialogs controls plotting window multipointcalibration fitting units foundation hostapi resources"
  [dll]="dll dialogs controls plotting window multipointcalibration fitting units foundation hostapi resources"
)
# Folders whose every file is Windows code.
windows_only=" hostapi resources dll "
# The calibration dialogs' windows sit in multipointcalibration/ui/, Windows code in the dialogs
# layer; the rest of multipointcalibration stays below the window layer.
ui_folder=multipointcalibration/ui/

include_layer='#[[:space:]]*include[[:space:]]*"([^"/]+)/'
include_win='#[[:space:]]*include[[:space:]]*"[^"]*/win/'
include_hostapi='#[[:space:]]*include[[:space:]]*"hostapi/'
include_system='#[[:space:]]*include[[:space:]]*<(windows|winbase|windef|winuser|wingdi|commctrl|objbase|oleauto|oaidl|unknwn|ole2|shlobj|uxtheme)\.h>'

failed=0
report() {
  echo "check-layers: $1: $2" >&2
  failed=1
}

for dir in */; do
  subsystem=${dir%/}
  if [ -z "${allowed[$subsystem]+set}" ]; then
    report "src/$subsystem" "a folder with no place in the layers (add it to scripts/check-layers.sh)"
    continue
  fi
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    text=${rest#*:}
    where="src/$file:$line"
    layer=$subsystem
    [[ $file == "$ui_folder"* ]] && layer=dialogs
    if [[ $text =~ $include_layer ]]; then
      target=${BASH_REMATCH[1]}
      [[ " ${allowed[$layer]} " == *" $target "* ]] || report "$where" "$layer may not include $target: $text"
    fi
    if [[ $windows_only != *" $subsystem "* && $file != */win/* && $layer != dialogs ]] &&
       [[ $text =~ $include_win || $text =~ $include_hostapi || $text =~ $include_system ]]; then
      report "$where" "portable code reaches Windows: $text"
    fi
  done < <(grep -rnE --include='*.h' --include='*.cpp' --include='*.inc' --include='*.rc' \
             '^[[:space:]]*#[[:space:]]*include' "$dir" || true)
done

exit $failed
