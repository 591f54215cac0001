#!/usr/bin/env bash
# Fails when a core file (anything under src/ but src/ui) includes a Qt Gui,
# Widgets or PrintSupport header, or QCustomPlot.
src=${1:?usage: check-core-includes.sh SRC_DIR}
hits=$(grep -rnE '#\s*include\s*[<"](QtGui|QtWidgets|QtPrintSupport|qcustomplot|Q(Widget|Application|Dialog|MainWindow|Painter|Pixmap|Image|Color|Font|Icon|Printer|MessageBox|GuiApplication)\b)' \
        "$src" --include='*.h' --include='*.cpp' | grep -v "^$src/ui/")
if [ -n "$hits" ]; then
  echo "Core files include window headers:"
  echo "$hits"
  exit 1
fi
echo "core: no window headers"
