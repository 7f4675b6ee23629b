#!/usr/bin/env bash
# cppcheck over the program and test sources; any warning or style finding fails.
# useStlAlgorithm is off: it asks for std::find_if in place of plain loops over Win32
# buffers, which reads worse and finds no fault.
set -uo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
cppcheck --enable=warning,style,performance,portability --std=c++17 \
  --library=windows --platform=win64 -D_WIN32 -D_WIN64 -DUNICODE -D_UNICODE \
  -I res -I base -I json -I app -I autologon -I settings -I links -I cli -I dsc \
  -DTARVELIN_SITE_DE='"https://de.example/"' -DTARVELIN_SITE_EN='"https://en.example/"' \
  --suppress=useStlAlgorithm --error-exitcode=1 --inline-suppr --quiet \
  base json app autologon settings links cli dsc tests || { echo "cppcheck: findings above"; exit 1; }
echo "cppcheck: clean ($((SECONDS - start)) s)"
