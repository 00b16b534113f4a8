#!/usr/bin/env bash
# Checks the include graph against the layers: data < core < pages (shops, racers, text) < app.
# A file may include its own folder and the layers below its own; a page never includes another
# page. Prints every include that breaks the rule.
set -u
cd "$1" || exit 2
declare -A allowed=([data]="data" [core]="data core" [shops]="data core shops"
    [racers]="data core racers" [text]="data core text" [app]="data core shops racers text app")
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
exit $status
