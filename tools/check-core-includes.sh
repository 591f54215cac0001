#!/usr/bin/env bash
# Fails when a core file (anything under src/ but src/ui and src/charts) includes a Qt Gui,
# Widgets or PrintSupport header, or QCustomPlot.
src=${1:?usage: check-core-includes.sh SRC_DIR}
hits=$(grep -rnE '#\s*include\s*[<"](QtGui|QtWidgets|QtPrintSupport|qcustomplot|Q(Widget|Application|Dialog|MainWindow|Painter|Pixmap|Image|Color|Font|Icon|Printer|MessageBox|GuiApplication)\b)' \
        "$src" --include='*.h' --include='*.cpp' | grep -vE "^$src/(ui|charts)/")
if [ -n "$hits" ]; then
  echo "Core files include window headers:"
  echo "$hits"
  exit 1
fi
echo "core: no window headers"
