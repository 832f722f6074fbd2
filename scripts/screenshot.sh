#!/bin/sh
# Takes a screenshot of the main window with a document open, under Xvfb, into
# docs/screenshot.png. Run after `make build`.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
program="$top/build/verosta"
out="${1:-$top/docs/screenshot.png}"
work=$(mktemp -d)
trap 'kill $editor $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

cp -r "$program" "$work/verosta"
mkdir -p "$work/verosta/config"
cp "$top/data/Verosta.ini" "$work/verosta/config/Verosta.ini"
touch "$work/verosta/portable"  # keep the settings written here in this copy's config/
cat > "$work/verosta/index.web" <<'WEB'
<!DOCTYPE HTML>
<html>
<head>
<title>My first page</title>
</head>
<body>
Rem The page language mixes with HTML
WriteText "Welcome to my site"
BouncingText "Fresh news every week"
<table style="border: 1px solid #000000;">
<tr><td>Cell 1</td><td>Cell 2</td></tr>
</table>
</body>
</html>
WEB
printf 'File001 %s\r\n' "$work/verosta/index.web" >> "$work/verosta/config/Verosta.ini"

display=:$(( 200 + $$ % 100 ))
Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display XDG_RUNTIME_DIR=$work HOME=$work "$work/verosta/verosta" >/dev/null 2>&1 &
editor=$!
i=0
until DISPLAY=$display xdotool search --onlyvisible --name "^Verosta editor" >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "the editor did not start" >&2; exit 1; }
  sleep 0.2
done
sleep 2
window=$(DISPLAY=$display xdotool search --onlyvisible --name "^Verosta editor" | tail -1)
DISPLAY=$display import -window "$window" "$out"
echo "wrote $out"
