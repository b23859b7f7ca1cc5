// Renders a printout to a PDF file for kolt-cli print. Built only where Qt's
// GUI module is available (it draws with the window program's painter).
#pragma once

#include "view/print_layout.h"

#include <string>

namespace kolt::cli {

// Whether this build can render (it was built with Qt).
bool CanRenderPdf();

// Writes the job as a PDF (A4, 0.25-inch margins) without a display. False
// when the file cannot be written.
bool RenderPdf(const PrintJob& job, const std::string& path, bool landscape);

}  // namespace kolt::cli
