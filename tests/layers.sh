#!/usr/bin/env bash
# Checks the include graph against the layers: data < core < pages (shops, racers, text) < app.
# A file may include its own folder and the layers below its own; a page never includes another
# page. Prints every include that breaks the rule.
set -u
cd "$1" || exit 2
allowed() { # folder -> the folders its files may include
    case $1 in
    data) echo "data" ;;
    core) echo "data core" ;;
    shops | racers | text) echo "data core $1" ;;
    app) echo "data core shops racers text app" ;;
    esac
}
status=0
for folder in data core shops racers text app; do
    ok=$(allowed "$folder")
    while IFS=: read -r file included; do
        target=${included%%/*}
        # An include without a folder is one of the file's own folder.
        [ "$target" = "$included" ] && continue
        [[ " $ok " == *" $target "* ]] && continue
        echo "$file includes $included, above or beside its layer"
        status=1
    done < <(grep -Ho '#include "[^"]*"' "$folder"/*.h "$folder"/*.cpp 2>/dev/null |
        sed 's/#include "\(.*\)"/\1/')
done
exit $status
