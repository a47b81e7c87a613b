#!/bin/bash
# What a distribution package takes from `cmake --install`: everything the application needs at run
# time and everything the desktop reads, under the prefix.
# Usage: install.sh BUILD_DIRECTORY
set -u
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
if ! cmake --install "$1" --prefix "$prefix" >/dev/null; then
    echo "FAIL: cmake --install failed"
    exit 1
fi
failed=0
for file in \
    bin/cohortex \
    share/applications/com.kestrelwick.Cohortex.desktop \
    share/mime/packages/com.kestrelwick.Cohortex.xml \
    share/icons/hicolor/scalable/apps/com.kestrelwick.Cohortex.svg \
    share/icons/hicolor/48x48/apps/com.kestrelwick.Cohortex.png \
    share/icons/hicolor/256x256/apps/com.kestrelwick.Cohortex.png \
    share/metainfo/com.kestrelwick.Cohortex.metainfo.xml \
    share/polkit-1/actions/com.kestrelwick.cohortex.policy \
    share/man/man1/cohortex.1 \
    share/bash-completion/completions/cohortex \
    share/zsh/vendor-completions/_cohortex; do
    if [[ ! -s "$prefix/$file" ]]; then
        echo "FAIL: $file is not installed"
        failed=1
    fi
done
# Each language the sources list is installed as a catalogue of the program's translation domain.
languages=$(grep -v -e '^#' -e '^[[:space:]]*$' "$(dirname "$0")/../../po/LINGUAS")
for language in $languages; do
    if [[ ! -s "$prefix/share/locale/$language/LC_MESSAGES/cohortex.mo" ]]; then
        echo "FAIL: the $language translation is not installed"
        failed=1
    fi
done
if ! find "$prefix" -name '*.so' -path '*cohortex*' | grep -q .; then
    echo "FAIL: the web process extension is not installed"
    failed=1
fi
exit $failed
