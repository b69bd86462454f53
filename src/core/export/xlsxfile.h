#pragma once

#include "export/spreadsheet.h"

#include <cstdint>

namespace vq {

// A colour given the Windows way, 0xBBGGRR (low byte red), as 0xRRGGBB.
std::uint32_t tcolorToRgb(int color);

// Writes the workbook as an .xlsx file: sheets with their names, column widths, row and column
// fonts, and every cell as a text (a value beginning with "=" stays text). Replaces path only when
// the whole file is written. Throws vq::Error (msg::cannotCreateFile) when it cannot be written.
void writeXlsx(const WorkbookModel &book, const QString &path);

} // namespace vq
