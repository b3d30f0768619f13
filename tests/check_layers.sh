#!/usr/bin/env bash
# The core's include rules, as an allow list:
#   - angle includes: the C++ standard library (no file streams or file
#     systems: files go through the FileSystem port) and the one declared
#     dependency, minizip's unzip.h (with zlib under it);
#   - quoted includes: the core's own headers, and only downward. Folders and
#     what each may include besides itself:
#       ports    (nothing)
#       base     ports
#       net, ui  ports base
#       hub      ports base net ui
#       session mainwindow storage transfer search update localfs
#                ports base net ui hub   (not each other: they meet in hub)
#       settings ports base net ui hub session (the settings dialog shows
#                the saved credentials); localfs, which owns it, may include it
#       app      everything
# Prints every breach and exits non-zero when there is one.
set -u
core=${1:?usage: check_layers.sh SRC_CORE_DIR}

std_headers="  algorithm any array atomic bitset cassert cctype cerrno cfloat charconv chrono cinttypes
 climits clocale cmath compare cstdarg cstddef cstdint cstdio cstdlib cstring ctime cwchar cwctype
 deque exception functional initializer_list iomanip ios iosfwd istream iterator limits list locale
 map memory mutex new numeric optional ostream queue random ratio regex set sstream stack stdexcept
 string string_view system_error thread tuple type_traits typeindex typeinfo unordered_map
 unordered_set utility variant vector "
std_headers=" ${std_headers//$'\n'/ } "
dependencies=" unzip.h zlib.h "

allowed() {  # allowed FOLDER: the folders FOLDER may include
  case "$1" in
    ports) echo "ports" ;;
    base) echo "ports base" ;;
    net) echo "ports base net" ;;
    ui) echo "ports base ui" ;;
    hub) echo "ports base net ui hub" ;;
    settings) echo "ports base net ui hub session settings" ;;
    localfs) echo "ports base net ui hub settings localfs" ;;
    session | mainwindow | storage | transfer | search | update)
      echo "ports base net ui hub $1" ;;
    app) echo "ports base net ui hub session mainwindow storage transfer search update settings localfs app" ;;
    *) echo "" ;;
  esac
}

bad=0
breach() { echo "$1"; bad=1; }

while IFS= read -r file; do
  relative=${file#"$core"/}
  folder=${relative%%/*}
  [ "$folder" = "$relative" ] && { breach "$relative: outside the core's folders"; continue; }
  may=" $(allowed "$folder") "
  [ "$may" = "  " ] && breach "$relative: folder '$folder' has no layer"
  while IFS= read -r line; do
    number=${line%%:*}
    text=${line#*:}
    if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<([^>]+)\> ]]; then
      header=${BASH_REMATCH[1]}
      [[ $std_headers == *" $header "* || $dependencies == *" $header "* ]] ||
        breach "$relative:$number: <$header> is not allowed in the core (only the standard library without file streams, and unzip.h)"
    elif [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      header=${BASH_REMATCH[1]}
      if [[ $header =~ ^core/([a-z]+)/ ]]; then
        target=${BASH_REMATCH[1]}
        [[ $may == *" $target "* ]] || breach "$relative:$number: $folder may not include $header"
      else
        breach "$relative:$number: \"$header\" is not a core header"
      fi
    fi
  done < <(grep -nE '^\s*#\s*include' "$file")
  # Files are reached through the FileSystem port only.
  if grep -nE 'std::filesystem|\bfopen\b|std::[io]?fstream|std::filebuf' "$file" | grep -v '^\s*[0-9]*:\s*//' >/dev/null; then
    breach "$relative: touches files directly ($(grep -nE 'std::filesystem|\bfopen\b|fstream|filebuf' "$file" | head -n1))"
  fi
done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

[ $bad -eq 0 ] && echo "core includes only the standard library, its declared dependencies and lower layers"
exit $bad
