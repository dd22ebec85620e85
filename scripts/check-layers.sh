#!/usr/bin/env bash
# Fails when an include points against the layers. The core includes only the core; the
# window model (src/app) and the operating system's services (src/platform) each build
# on the core alone and never on each other; the iCalendar reader (src/ical) builds on
# the core and the platform; only the front ends (src/ui) and tessaly-cli (src/cli) bring
# them together, and neither front end uses the other.
set -euo pipefail
cd "$(dirname "$0")/.."

# "folders under src|include prefixes they may not use"
rules=(
    "core calendar html pdf pdfcalendar output settings|app|platform|ical|ui|cli"
    "app|platform|ical|ui|cli"
    "platform|app|ical|ui|cli"
    "ical|app|ui|cli"
    "cli|app|ui"
    "ui/qt|ui/win32|cli"
    "ui/win32|ui/qt|cli"
    "ui/common|ui/qt|ui/win32|cli"
)

status=0
for rule in "${rules[@]}"; do
    folders="${rule%%|*}"
    forbidden="${rule#*|}"
    for folder in $folders; do
        [ -d "src/$folder" ] || continue
        if grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($forbidden)/" "src/$folder" \
            --include='*.h' --include='*.cpp'; then
            echo "check-layers: src/$folder may not include ${forbidden//|/\/, }/" >&2
            status=1
        fi
    done
done
[ "$status" -eq 0 ] && echo "check-layers: every include points down the layers"
exit "$status"
