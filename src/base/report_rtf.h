// Writes a report document as RTF in code page 1252, the form word processors on
// every platform open: the font table (Arial for the text), the document's colour
// table and tab stops, one \par per paragraph.
#pragma once

#include "base/report.h"
#include "base/status.h"

#include <QByteArray>

namespace q::report {

// The RTF text. Characters outside code page 1252 are written as \uN escapes.
QByteArray toRtf(const Document& document);

// Writes the RTF file, replacing it (a new file renamed over the old one). Fails
// Busy "<Datei> ist bereits geöffnet" when the file cannot be replaced, Io otherwise.
Status writeRtf(const Document& document, const QString& path);

}  // namespace q::report
