#!/bin/sh
# install-check.sh BUILD_DIR: installs the build into a scratch prefix with
# cmake --install and checks that the program, its manual page, the bash
# completion (which must offer the options and the baud rates) and the JSON
# schema land there.
build=$1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; exit 1; }
failed=0
for file in bin/vexa-decode share/man/man1/vexa-decode.1 \
            share/bash-completion/completions/vexa-decode share/vexa/vexa-decode.schema.json; do
    [ -s "$work/$file" ] || { echo "FAIL: $file was not installed" >&2; failed=1; }
done
offered=$(bash -c '. "$1"; COMP_WORDS=(vexa-decode --js); COMP_CWORD=1; _vexa_decode
                   echo "${COMPREPLY[*]}"' sh "$work/share/bash-completion/completions/vexa-decode")
[ "$offered" = "--json --jsonl" ] || { echo "FAIL: completion of --js offers '$offered'" >&2; failed=1; }
offered=$(bash -c '. "$1"; COMP_WORDS=("$2" --baud 11); COMP_CWORD=2; _vexa_decode
                   echo "${COMPREPLY[*]}"' sh "$work/share/bash-completion/completions/vexa-decode" \
              "$work/bin/vexa-decode")
[ "$offered" = "115200" ] || { echo "FAIL: completion of --baud 11 offers '$offered'" >&2; failed=1; }
"$work/bin/vexa-decode" --version | grep -q '^vexa-decode ' || { echo "FAIL: --version" >&2; failed=1; }
exit $failed
