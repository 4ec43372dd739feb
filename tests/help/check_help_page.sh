#!/usr/bin/env bash
# The help page as the program opens it: every link and picture of Help/index.html is there,
# every link within the page finds its section, every picture has a text for those who cannot
# see it, and no picture of the folder is left unused.
#   tests/help/check_help_page.sh HELP_FOLDER      (the build's bin/Help, or an installed one)
set -euo pipefail
help=${1:?the Help folder}
page="$help/index.html"
[ -f "$page" ] || { echo "check_help_page: no $page" >&2; exit 1; }

faults=0
fault() {
  echo "check_help_page: $*" >&2
  faults=$((faults + 1))
}

ids=$(grep -o ' id="[^"]*"' "$page" | sed 's/ id="\(.*\)"/\1/')
while IFS= read -r target; do
  case $target in
    http://* | https://* | mailto:*) ;;
    '#'*) grep -qx -- "${target#\#}" <<<"$ids" || fault "no section $target" ;;
    *) [ -f "$help/${target%%#*}" ] || fault "no file $target" ;;
  esac
done < <(grep -o -E '(href|src)="[^"]*"' "$page" | sed -E 's/^(href|src)="(.*)"$/\2/')

# An <img> may span lines: the page is read as one line for these.
flat=$(tr '\n' ' ' <"$page")
while IFS= read -r img; do
  fault "a picture without alt text: $img"
done < <(grep -o '<img [^>]*>' <<<"$flat" | grep -v ' alt="[^"]')
if [ -d "$help/pictures" ]; then
  for picture in "$help"/pictures/*; do
    grep -q "src=\"pictures/$(basename "$picture")\"" "$page" ||
      fault "pictures/$(basename "$picture") is not on the page"
  done
fi

[ "$faults" -eq 0 ] || exit 1
echo "help page: $(grep -o -E "(href|src)=\"" "$page" | wc -l) links and pictures checked"
