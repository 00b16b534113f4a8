#!/usr/bin/env bash
# Checks the include graph against the layers: core < widgets < pages (shops, racers, text) <
# app. A file may include its own folder and the layers below its own; a page never includes
# another page; and the core includes nothing of Qt but Qt Core. Also checks the coupling that
# no include shows: the core names no control of a form, and a page reaches its controls through
# its own form, never by looking a name up. Prints every line that breaks a rule.
set -u
cd "$1" || exit 2
declare -A allowed=([core]="core" [widgets]="core widgets" [shops]="core widgets shops"
    [racers]="core widgets racers" [text]="core widgets text"
    [app]="core widgets shops racers text app")
status=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file included; do
        target=${included%%/*}
        # An include without a folder is one of the file's own folder.
        [ "$target" = "$included" ] || [[ " ${allowed[$folder]} " == *" $target "* ]] && continue
        echo "$file includes $included, above or beside its layer"
        status=1
    done < <(grep -Ho '#include "[^"]*"' "$folder"/*.h "$folder"/*.cpp 2>/dev/null |
        sed 's/#include "\(.*\)"/\1/')
done
# Qt Core's own headers are the only ones of Qt the core may use.
while IFS= read -r line; do
    echo "$line: the core uses Qt Core only"
    status=1
done < <(grep -Hn -E '#include <Qt(Gui|Widgets|DBus|Test)|#include <Q(Widget|Application|Gui|Pixmap|Image|Label|Line|Slider|MessageBox|FileDialog|Dialog|Action|Menu|Tab|List|Accessible)' core/*.h core/*.cpp)
while IFS= read -r line; do
    echo "$line: the core names a control of a form"
    status=1
done < <(grep -Hn -E '"[A-Za-z0-9]+(TXT|LST|SLDR|LBL|FRA|CMD|IMG)"' core/*.h core/*.cpp)
while IFS= read -r line; do
    echo "$line: a page looks a control up by name"
    status=1
done < <(grep -Hn -E 'Child<|findChild' shops/*.h shops/*.cpp racers/*.h racers/*.cpp text/*.h text/*.cpp)
exit $status
