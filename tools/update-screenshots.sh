#!/usr/bin/env bash
# Regenerates every picture in docs/screenshots/ from the built program,
# opened from C:\Tavrel under Wine (no build path shows). The forms that
# are not examples live in docs/screenshots/forms/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/docs/screenshots"
bash "$root/tools/build.sh" tavrel tavrel_demo tavrel_testchild >/dev/null

for form in every-control ping tall; do
  bash "$root/tools/screenshot.sh" "$root/examples/$form.gui" "$shots/$form.png"
done
bash "$root/tools/screenshot.sh" "$shots/forms/parse-error.gui" "$shots/parse-error.png"
# At 150 % display scale.
DPI=144 bash "$root/tools/screenshot.sh" "$root/examples/every-control.gui" "$shots/every-control-150.png" 2
bash "$root/tools/console-picture.sh" "$shots/forms/console-dir-s.gui" "$shots/console-dir-s.png"
bash "$root/tools/console-picture.sh" "$shots/forms/console-progress.gui" "$shots/console-progress.png" \
  "$root/build/testbin/tavrel_testchild.exe"
DPI=144 bash "$root/tools/console-picture.sh" "$shots/forms/console-progress.gui" "$shots/console-progress-150.png" \
  "$root/build/testbin/tavrel_testchild.exe"
TAVREL_HISTORY_VALUES="0 2 0" bash "$root/tools/console-picture.sh" "$shots/forms/run-history.gui" \
  "$shots/run-history.png"
# The filled list-folder form and its run, as tools/demo.sh takes them.
bash "$root/tools/demo.sh" >/dev/null
cp "$root/out/form.png" "$shots/list-folder-form.png"
cp "$root/out/console.png" "$shots/list-folder-console.png"
