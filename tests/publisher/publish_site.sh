#!/bin/sh
# Publishes a release into a fresh site with the native lobbex-publish, the way operators
# publish, for tests of the Windows build (see lobbex_add_published_site).
#   publish_site.sh LOBBEX_PUBLISH SITE RELEASE VERSION [OPTION...]
set -eu
publish=$1
site=$2
release=$3
version=$4
shift 4
if [ ! -x "$publish" ]; then
    echo "publish_site.sh: no $publish; build the host preset first (cmake --preset host && cmake --build --preset host)" >&2
    exit 1
fi
rm -rf "$site"
exec "$publish" --quiet --version "$version" "$@" "$release" "$site"
