#!/bin/sh
# The manual page: groff finds nothing to warn about (-ww), `man -l` renders it without a word
# on its error output, and it names what it must.     check_manpage.sh <page.1.gz>
set -eu
page=$1
export LC_ALL=C.UTF-8 MANWIDTH=80
warnings=$( { zcat "$page" | groff -ww -z -man -Tutf8; } 2>&1) || true
[ -z "$warnings" ] || { echo "FAIL: groff -ww: $warnings" >&2; exit 1; }
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
text=$(man --warnings -l "$page" 2> "$errors") || { cat "$errors" >&2; exit 1; }
[ ! -s "$errors" ] || { echo "FAIL: man -l: $(cat "$errors")" >&2; exit 1; }
for word in 'QUORBROWSER(1)' 'quorbrowser - ' QUORBROWSER_HOME QUORBROWSER_SEARCH_PAGE \
            QUORBROWSER_START_MINIMIZED '$XDG_DATA_HOME/QuorBrowser' QuorBrowser.cfg HomePage \
            SearchPage Popupurl Favorites FavName Favorites.lock EngineNotice; do
    case $text in
        *"$word"*) ;;
        *) echo "FAIL: the page does not say $word" >&2; exit 1 ;;
    esac
done
echo "PASS: $page"
