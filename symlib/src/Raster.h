// SPDX-License-Identifier: Apache-2.0
// PNG pictures of SVG documents, rasterised through librsvg.
#ifndef SYMLIB_RASTER_H
#define SYMLIB_RASTER_H

#include <string>

namespace symlib {

// Writes the SVG document as a PNG file of its own pixel size (its width and
// height attributes). False with a one-line reason.
bool WritePng(const std::string& svg, const std::string& path, std::string* why);

}  // namespace symlib

#endif
