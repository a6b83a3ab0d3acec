#!/usr/bin/env bash
# The layer check passes on the tree as it is and fails on each planted include that runs the wrong
# way, however it is spelt.
set -euo pipefail
source_root=$1
check=$source_root/scripts/check-layers
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$source_root"/core "$source_root"/ui "$source_root"/desktop "$source_root"/resources "$work"/
mkdir -p "$work/cli"
bash "$check" "$work" >/dev/null || { echo "the tree as it is fails the check"; exit 1; }

# Each case plants one or more files: "file|lines", several joined by ";;".
cases=(
    'core/register/planted.cpp|#include "desktop/views/register_view.h"'
    'core/register/planted.cpp|# include "desktop/views/register_view.h"'
    'core/register/planted.cpp|  #  include <desktop/views/register_view.h>'
    'core/register/planted.cpp|/* looks harmless */ #include "desktop/views/register_view.h"'
    'core/register/planted.cpp|#include "../../desktop/views/register_view.h"'
    'core/register/planted.cpp|#include \
"desktop/views/register_view.h"'
    'core/register/planted.cpp|#include "planted_view.h";;core/register/planted_view.h|#include "ui/gadgets.h"'
    'core/runtime/planted.cpp|#include "../register/record.h"'
    'core/reports/planted.cpp|#include <QString>'
    'core/reports/planted.cpp|#include <QtCore/QString>'
    'core/reports/planted.cpp|#define TARGET "desktop/views/register_view.h"
#include TARGET'
    'desktop/program/planted.cpp|#include "../views/register_view.h"'
    'desktop/views/planted.cpp|#include "desktop/app/startup.h"'
    'desktop/dialogs/planted.cpp|#include "../app/startup.h"'
    'desktop/dialogs/planted.cpp|#include "ui/gadgets.h"
#include <QWidget>'
    'cli/planted.cpp|#include "ui/gadgets.h"'
    'cli/planted.cpp|#include "desktop/program/texts.h"'
    'ui/planted.cpp|#include "desktop/program/texts.h"'
    'core/store/planted.cpp|#include "core/session/register_session.h"'
    'core/register/planted.cpp|#include "core/store/companion_store.h"'
    'core/list/planted.cpp|#include "core/session/change.h"'
    'core/session/planted.cpp|#include "core/import/import_preview.h"'
    'desktop/views/planted.cpp|#include "desktop/dialogs/dialog_ids.h"'
)

failed=0
for entry in "${cases[@]}"; do
    planted=()
    rest=$entry
    while [ -n "$rest" ]; do
        part=${rest%%;;*}
        [ "$part" = "$rest" ] && rest="" || rest=${rest#*;;}
        printf '%s\n' "${part#*|}" >"$work/${part%%|*}"
        planted+=("$work/${part%%|*}")
    done
    if bash "$check" "$work" >/dev/null 2>&1; then
        echo "not caught: $entry"
        failed=1
    fi
    rm -f "${planted[@]}"
done
bash "$check" "$work" >/dev/null || { echo "the tree fails after the planted files are gone"; exit 1; }
exit "$failed"
