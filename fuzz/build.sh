#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (-fsanitize=fuzzer,address,undefined),
# outside the CMake build, into fuzz/out/. Usage: fuzz/build.sh [harness...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
src="$here/../src"
out="$here/out"
mkdir -p "$out"
CXX="${CXX:-clang++}"
# Qt is built position-independent, so the harnesses are too.
# Undefined behaviour (signed overflow, bad shifts) stops the run like a crash.
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer
       $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))

# harness name -> the sources it needs besides its own file
declare -A sources=(
  [cfb_reader]="$src/formats/cfb/CfbReader.cpp $src/formats/cfb/CfbWriter.cpp"
  [doc_reader]="$(echo $src/formats/msdoc/*.cpp $src/model/*.cpp) $src/app/TextCodec.cpp $src/formats/cfb/CfbReader.cpp $src/formats/cfb/CfbWriter.cpp"
  [html_reader]="$(echo $src/formats/html/*.cpp $src/model/*.cpp) $src/app/TextCodec.cpp"
  [docx_reader]="$(echo $src/formats/docx/*.cpp $src/formats/msdoc/*.cpp $src/model/*.cpp) $src/app/TextCodec.cpp $src/formats/cfb/CfbReader.cpp $src/formats/cfb/CfbWriter.cpp"
  [rtf_reader]="$(echo $src/formats/rtf/*.cpp $src/formats/msdoc/*.cpp $src/model/*.cpp) $src/app/TextCodec.cpp $src/formats/cfb/CfbReader.cpp $src/formats/cfb/CfbWriter.cpp"
)
declare -A includes=(
  [cfb_reader]="-I$src/formats/cfb"
  [doc_reader]="-I$src/formats/msdoc -I$src/formats/cfb -I$src/model -I$src/app"
  [html_reader]="-I$src/formats/html -I$src/model -I$src/app $(pkg-config --cflags Qt6Gui gumbo)"
  [docx_reader]="-I$src/formats/docx -I$src/formats/msdoc -I$src/formats/cfb -I$src/model -I$src/app $(pkg-config --cflags libzip)"
  [rtf_reader]="-I$src/formats/rtf -I$src/formats/msdoc -I$src/formats/cfb -I$src/model -I$src/app $(pkg-config --cflags Qt6Gui)"
)
# harness name -> libraries it needs besides QtCore
declare -A extra_libs=(
  [html_reader]="$(pkg-config --libs Qt6Gui gumbo)"
  [docx_reader]="$(pkg-config --libs libzip)"
  [rtf_reader]="$(pkg-config --libs Qt6Gui)"
)

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${!sources[@]}")
for t in "${targets[@]}"; do
  echo "building $out/${t}_fuzz"
  # shellcheck disable=SC2086
  "$CXX" "${flags[@]}" ${includes[$t]} "$here/${t}_fuzz.cpp" ${sources[$t]} "${libs[@]}" ${extra_libs[$t]:-} \
    -o "$out/${t}_fuzz"
done
