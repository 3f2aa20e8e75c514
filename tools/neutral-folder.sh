# Sourced by the picture scripts. Lays out in a Wine prefix what a user
# would have unzipped, under C:\Tavrel: the program and its manual, the
# form under examples\ and any helper programs under tools\. Pictures then
# show C:\Tavrel\... and never the folder Tavrel was built in.
#
# stage_in_neutral_folder PREFIX EXE FORM [PROGRAM...]
#   The program is then C:\Tavrel\tavrel.exe and the form
#   C:\Tavrel\examples\<its name>; $neutral_unix is C:\Tavrel as Linux
#   sees it.
stage_in_neutral_folder() {
  local prefix=$1 exe=$2 form=$3
  shift 3
  neutral_unix="$prefix/drive_c/Tavrel"
  rm -rf "$neutral_unix"
  mkdir -p "$neutral_unix/examples" "$neutral_unix/tools"
  cp "$exe" "$neutral_unix/tavrel.exe"
  if [ -f "$(dirname "$exe")/manual.html" ]; then
    cp "$(dirname "$exe")/manual.html" "$neutral_unix/"
  fi
  cp "$form" "$neutral_unix/examples/"
  [ $# -eq 0 ] || cp "$@" "$neutral_unix/tools/"
}
